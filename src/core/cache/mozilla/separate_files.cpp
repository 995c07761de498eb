#include "core/cache/mozilla/separate_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/platform/text.h"

namespace fs = std::filesystem;

namespace restash::mozilla {
namespace {

std::optional<std::uint32_t> Hex(std::string_view digits) {
    std::uint32_t v = 0;
    for (const char c : digits) {
        const char u = UpperAscii(c);
        if (u >= '0' && u <= '9')
            v = v * 16 + static_cast<std::uint32_t>(u - '0');
        else if (u >= 'A' && u <= 'F')
            v = v * 16 + static_cast<std::uint32_t>(u - 'A' + 10);
        else
            return std::nullopt;
    }
    return v;
}

}  // namespace

std::string SeparateFileName(std::uint32_t hashNumber, bool metadata, std::uint8_t generation, bool nested) {
    char name[32];
    if (nested)
        std::snprintf(name, sizeof name, "%X/%02X/%05X%c%02X", hashNumber >> 28, (hashNumber >> 20) & 0xFF,
                      hashNumber & 0xFFFFF, metadata ? 'm' : 'd', generation);
    else
        std::snprintf(name, sizeof name, "%08X%c%02X", hashNumber, metadata ? 'm' : 'd', generation);
    return name;
}

std::optional<SeparateFile> ParseSeparateFileName(std::string_view relativePath) {
    std::string hexDigits;
    std::string_view leaf = relativePath;
    if (relativePath.size() == 13 && relativePath[1] == '/' && relativePath[4] == '/') {
        hexDigits = std::string(relativePath.substr(0, 1)) + std::string(relativePath.substr(2, 2));
        leaf = relativePath.substr(5);
        if (leaf.size() != 8) return std::nullopt;
        hexDigits += leaf.substr(0, 5);
    } else if (relativePath.size() == 11) {
        hexDigits = std::string(relativePath.substr(0, 8));
    } else {
        return std::nullopt;
    }
    const char kind = LowerAscii(leaf[leaf.size() - 3]);
    const auto hash = Hex(hexDigits);
    const auto generation = Hex(leaf.substr(leaf.size() - 2));
    if (!hash || !generation || (kind != 'd' && kind != 'm')) return std::nullopt;
    return SeparateFile{*hash, kind == 'm', static_cast<std::uint8_t>(*generation),
                        std::string(relativePath)};
}

std::vector<SeparateFile> ListSeparateFiles(const std::string& folder) {
    std::vector<SeparateFile> files;
    std::error_code ec;
    auto it = fs::recursive_directory_iterator(folder, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it.depth() >= 2) it.disable_recursion_pending();
        if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
        const std::string relative = fs::path(it->path()).lexically_relative(folder).generic_string();
        if (auto file = ParseSeparateFileName(relative)) files.push_back(std::move(*file));
    }
    std::sort(files.begin(), files.end(),
              [](const SeparateFile& a, const SeparateFile& b) { return a.relativePath < b.relativePath; });
    return files;
}

}  // namespace restash::mozilla
