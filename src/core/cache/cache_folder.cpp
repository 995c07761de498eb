#include "core/cache/cache_folder.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace fs = std::filesystem;

namespace restash {

namespace {

// Netscape's Unix builds use one level of subfolders. The bounds keep a
// wrongly chosen folder (a home folder) or a hostile tree from costing
// unbounded time and memory; no real cache comes near them.
constexpr int kMaxDepth = 2;
constexpr std::size_t kMaxFiles = 1'000'000;

// The components of a name from an index, with "\" and "/" both separators;
// empty and "." components are dropped.
std::vector<std::string_view> Components(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            std::string_view part = name.substr(start, i - start);
            if (!part.empty() && part != ".") parts.push_back(part);
            start = i + 1;
        }
    }
    return parts;
}

bool IsInside(const fs::path& root, const fs::path& p) {
    auto r = root.begin();
    auto q = p.begin();
    for (; r != root.end(); ++r, ++q) {
        if (q == p.end() || *r != *q) return false;
    }
    return q != p.end();
}

}  // namespace

bool IsSafeCacheName(std::string_view name) {
    if (name.empty()) return false;
    if (name.front() == '/' || name.front() == '\\') return false;
    // A drive letter ("C:NAME", "C:\NAME") makes a name absolute on Windows.
    if (name.size() >= 2 && name[1] == ':') return false;
    const auto parts = Components(name);
    for (std::string_view part : parts)
        if (part == "..") return false;
    return !parts.empty();
}

CacheFolder::CacheFolder(std::string dir) : dir_(std::move(dir)) {
    std::error_code ec;
    const fs::path root = dir_.empty() ? fs::path(".") : fs::path(dir_);
    const fs::path canonicalRoot = fs::canonical(root, ec);
    if (ec) return;

    // Symbolic links to folders are not followed, so the walk cannot loop;
    // a link to a file is listed only when its target lies inside the folder.
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator() && files_.size() < kMaxFiles; it.increment(ec)) {
        if (it.depth() >= kMaxDepth) it.disable_recursion_pending();
        std::error_code entryEc;
        if (!it->is_regular_file(entryEc)) continue;  // follows a link to its target
        if (it->is_symlink(entryEc)) {
            const fs::path target = fs::canonical(it->path(), entryEc);
            if (entryEc || !IsInside(canonicalRoot, target)) continue;
        }
        std::string relative = it->path().lexically_relative(root).generic_string();
        if (relative.empty() || relative == ".") continue;
        // Two names that differ only in letter case: the one that sorts first
        // by byte value wins, whatever order the folder was listed in.
        auto [slot, inserted] = files_.try_emplace(ToUpperAscii(relative), relative);
        if (!inserted && relative < slot->second) slot->second = relative;
    }
}

std::optional<std::string> CacheFolder::Find(std::string_view name) const {
    if (!IsSafeCacheName(name)) return std::nullopt;
    std::string key;
    for (std::string_view part : Components(name)) {
        if (!key.empty()) key += '/';
        key += ToUpperAscii(part);
    }
    auto found = files_.find(key);
    if (found == files_.end()) return std::nullopt;
    return WithTrailingSeparator(dir_) + found->second;
}

}  // namespace restash
