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

bool HoldsFile(const std::filesystem::path& processDir, const struct stat& file) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(processDir / "fd", ec), end; !ec && it != end; it.increment(ec)) {
        struct stat target {};
        // stat follows the link to the open file itself, whatever it was opened by.
        if (::stat(it->path().c_str(), &target) == 0 && target.st_dev == file.st_dev && target.st_ino == file.st_ino)
            return true;
    }
    return false;
}

}  // namespace

ProcProcessTable::ProcProcessTable(pid_t excluded) : excluded_(excluded) {}

std::optional<pid_t> ProcProcessTable::HolderOf(const std::string& path) {
    struct stat file {};
    if (path.empty() || ::stat(path.c_str(), &file) != 0) return std::nullopt;
    const std::string self = std::to_string(excluded_);
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsPid(name) || name == self) continue;
        if (HoldsFile(it->path(), file) && !IsRestash(it->path())) return static_cast<pid_t>(std::stol(name));
    }
    return std::nullopt;
}

}  // namespace restash
