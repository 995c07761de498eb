#include "core/app/process_table.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/platform/paths.h"

namespace restash {
namespace {

bool IsPid(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (c < '0' || c > '9') return false;
    return true;
}

// Another Restash program reading the same cache is no browser.
bool IsRestash(const std::filesystem::path& processDir) {
    std::error_code ec;
    std::string name = FilePart(std::filesystem::read_symlink(processDir / "exe", ec).string());
    // A program replaced on disk since it started.
    constexpr std::string_view deleted = " (deleted)";
    if (name.ends_with(deleted)) name.resize(name.size() - deleted.size());
    return !ec && (name == "restash" || name == "restash-cli");
}

// What an open file is: the file itself, or for a cache that is a folder
// (the later browsers' caches) any file inside that folder.
struct Held {
    struct stat file {};
    std::string folder;  // the folder's real path and "/", when it is one
};

bool IsHeld(const std::filesystem::path& fd, const Held& held) {
    struct stat target {};
    // stat follows the link to the open file itself, whatever it was opened by.
    if (::stat(fd.c_str(), &target) != 0 || target.st_dev != held.file.st_dev) return false;
    if (held.folder.empty()) return target.st_ino == held.file.st_ino;
    std::error_code ec;
    const std::string open = std::filesystem::read_symlink(fd, ec).string();
    return !ec && open.starts_with(held.folder);
}

bool HoldsFile(const std::filesystem::path& processDir, const Held& held) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(processDir / "fd", ec), end; !ec && it != end; it.increment(ec))
        if (IsHeld(it->path(), held)) return true;
    return false;
}

}  // namespace

ProcProcessTable::ProcProcessTable(pid_t excluded) : excluded_(excluded) {}

std::optional<pid_t> ProcProcessTable::HolderOf(const std::string& path) {
    Held held;
    if (path.empty() || ::stat(path.c_str(), &held.file) != 0) return std::nullopt;
    if (S_ISDIR(held.file.st_mode)) {
        std::error_code ec;
        held.folder = std::filesystem::canonical(path, ec).string();
        if (ec) return std::nullopt;
        if (!held.folder.ends_with('/')) held.folder += '/';
    }
    const std::string self = std::to_string(excluded_);
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsPid(name) || name == self) continue;
        if (HoldsFile(it->path(), held) && !IsRestash(it->path())) return static_cast<pid_t>(std::stol(name));
    }
    return std::nullopt;
}

}  // namespace restash
