#include "core/app/program_launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <thread>
#include <vector>

#include "core/platform/paths.h"

extern char** environ;

namespace restash {
namespace {

int ResultFor(int err, const std::string& program) {
    switch (err) {
    case ENOENT: {
        const std::string folder = DirPart(program);
        std::error_code ec;
        if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) return kLaunchPathNotFound;
        return kLaunchFileNotFound;
    }
    case ENOTDIR:
        return kLaunchPathNotFound;
    case EACCES:
    case EPERM:
        return kLaunchAccessDenied;
    case ENOEXEC:
    case ELIBBAD:
        return kLaunchBadFormat;
    default:
        return kLaunchFailed;
    }
}

}  // namespace

int SpawnLauncher::Launch(const std::string& program, const std::string& file) {
    if (program.empty()) return kLaunchFileNotFound;
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()), nullptr};
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return kLaunchFailed;
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const bool searchPath = program.find('/') == std::string::npos;
    const int err = searchPath ? posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv.data(), environ)
                               : posix_spawn(&pid, program.c_str(), nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (err != 0) return ResultFor(err, program);
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return kLaunchStarted;
}

}  // namespace restash
