#include "core/app/process_table.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {
namespace {

bool IsPid(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (c < '0' || c > '9') return false;
    return true;
}

// The file name of the process's executable; empty when it cannot be read.
std::string ExecutableName(const std::filesystem::path& processDir) {
    std::error_code ec;
    std::string target = std::filesystem::read_symlink(processDir / "exe", ec).string();
    if (ec) return "";
    // A program replaced on disk since it started.
    constexpr std::string_view deleted = " (deleted)";
    if (target.ends_with(deleted)) target.resize(target.size() - deleted.size());
    return FilePart(target);
}

// The file name of argv[0]; empty for kernel threads and zombies.
std::string ArgumentZeroName(const std::filesystem::path& processDir) {
    std::ifstream in(processDir / "cmdline", std::ios::binary);
    std::string argv0;
    std::getline(in, argv0, '\0');
    return FilePart(argv0);
}

}  // namespace

ProcProcessTable::ProcProcessTable(pid_t excluded) : excluded_(excluded) {}

bool ProcProcessTable::IsRunning(std::string_view exeFileName) {
    if (exeFileName.empty()) return false;
    const std::string self = std::to_string(excluded_);
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsPid(name) || name == self) continue;
        if (EqualsNoCase(ExecutableName(it->path()), exeFileName)) return true;
        if (EqualsNoCase(ArgumentZeroName(it->path()), exeFileName)) return true;
    }
    return false;
}

}  // namespace restash
