#include "core/platform/paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

namespace restash {

bool IsSeparator(char c, PathStyle style) {
    if (style == PathStyle::Windows) return c == '\\' || c == ':';
    return c == '/';
}

static std::size_t SplitPoint(std::string_view path, PathStyle style) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1], style)) return i;
    return 0;
}

std::string DirPart(std::string_view path, PathStyle style) {
    return std::string(path.substr(0, SplitPoint(path, style)));
}

std::string FilePart(std::string_view path, PathStyle style) {
    return std::string(path.substr(SplitPoint(path, style)));
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string RealPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    if (ec) real = std::filesystem::path(AbsolutePath(path));
    std::string out = real.lexically_normal().string();
    while (out.size() > 1 && out.back() == kSeparator) out.pop_back();
    return out;
}

bool IsWithin(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
    return path.size() == folder.size() || folder.back() == kSeparator || path[folder.size()] == kSeparator;
}

std::string WithTrailingSeparator(std::string_view path) {
    std::string out(path);
    if (!out.empty() && out.back() != kSeparator) out += kSeparator;
    return out;
}

}  // namespace restash

namespace restash {
namespace {

// The name in folder that equals name without regard to ASCII letter case;
// the first in byte order when there are several.
std::optional<std::string> NameIgnoringCase(const std::filesystem::path& folder, const std::string& name) {
    std::optional<std::string> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (candidate.size() != name.size()) continue;
        const bool same = std::equal(candidate.begin(), candidate.end(), name.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
        if (same && (!found || candidate < *found)) found = candidate;
    }
    return found;
}

}  // namespace

std::string ExistingPathIgnoringCase(const std::string& path) {
    std::error_code ec;
    if (path.empty() || std::filesystem::exists(path, ec)) return path;
    std::filesystem::path resolved;
    for (const std::filesystem::path& part : std::filesystem::path(path)) {
        const std::filesystem::path next = resolved / part;
        if (part == "/" || part == "." || part == ".." || std::filesystem::exists(next, ec)) {
            resolved = next;
            continue;
        }
        const std::optional<std::string> name = NameIgnoringCase(resolved, part.string());
        if (!name) return path;
        resolved /= *name;
    }
    return resolved.string();
}

}  // namespace restash
