#include "core/cache/cache_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <system_error>

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

// Calls visit with each component of a name from an index, with "\" and "/"
// both separators; empty and "." components are skipped.
template <typename Visit>
void ForEachComponent(std::string_view name, Visit visit) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            std::string_view part = name.substr(start, i - start);
            if (!part.empty() && part != ".") visit(part);
            start = i + 1;
        }
    }
}

bool IsInside(const fs::path& root, const fs::path& p) {
    auto r = root.begin();
    auto q = p.begin();
    for (; r != root.end(); ++r, ++q) {
        if (q == p.end() || *r != *q) return false;
    }
    return q != p.end();
}

using FileMap = std::unordered_map<std::string, std::string>;

// Closes a listed folder however the listing ends.
struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// One readdir pass per folder: the kind of each entry comes with its name, so
// only links (and file systems that do not say) cost a stat.
void ListFolder(const std::string& root, const fs::path& canonicalRoot, const std::string& relative, int depth,
                FileMap& files) {
    const std::unique_ptr<DIR, DirCloser> folder(::opendir((root + relative).c_str()));
    if (!folder) return;  // an unreadable subfolder holds no files
    const int fd = ::dirfd(folder.get());
    while (files.size() < kMaxFiles) {
        const dirent* entry = ::readdir(folder.get());
        if (!entry) break;
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN;
        }
        std::string path = relative;
        path += name;
        if (type == DT_DIR) {
            // Symbolic links to folders are not followed, so the walk cannot loop.
            if (depth < kMaxDepth) ListFolder(root, canonicalRoot, path + '/', depth + 1, files);
            continue;
        }
        if (type == DT_LNK) {
            // A link to a file is listed only when its target lies inside the folder.
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            std::error_code linkEc;
            const fs::path target = fs::canonical(root + path, linkEc);
            if (linkEc || !IsInside(canonicalRoot, target)) continue;
        } else if (type != DT_REG) {
            continue;
        }
        // Two names that differ only in letter case: the one that sorts first
        // by byte value wins, whatever order the folder was listed in.
        auto [slot, inserted] = files.try_emplace(ToUpperAscii(path), path);
        if (!inserted && path < slot->second) slot->second = std::move(path);
    }
}

}  // namespace

bool IsSafeCacheName(std::string_view name) {
    if (name.empty()) return false;
    if (name.front() == '/' || name.front() == '\\') return false;
    // A drive letter ("C:NAME", "C:\NAME") makes a name absolute on Windows.
    if (name.size() >= 2 && name[1] == ':') return false;
    bool any = false, parent = false;
    ForEachComponent(name, [&](std::string_view part) {
        any = true;
        if (part == "..") parent = true;
    });
    return any && !parent;
}

CacheFolder::CacheFolder(std::string dir) : dir_(std::move(dir)) {
    std::error_code ec;
    const std::string root = dir_.empty() ? std::string("./") : WithTrailingSeparator(dir_);
    const fs::path canonicalRoot = fs::canonical(root, ec);
    if (ec) return;
    ListFolder(root, canonicalRoot, "", 0, files_);
}

CacheFolder CacheFolder::AnsweringEveryName(std::string dir) { return CacheFolder(std::move(dir), EveryName{}); }

std::optional<std::string> CacheFolder::Find(std::string_view name) const {
    if (!IsSafeCacheName(name)) return std::nullopt;
    if (everyName_) return WithTrailingSeparator(dir_) + std::string(name);
    std::string key;
    key.reserve(name.size());
    ForEachComponent(name, [&](std::string_view part) {
        if (!key.empty()) key += '/';
        key += ToUpperAscii(part);
    });
    auto found = files_.find(key);
    if (found == files_.end()) return std::nullopt;
    return WithTrailingSeparator(dir_) + found->second;
}

}  // namespace restash
