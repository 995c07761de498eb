#include "core/offline/offline_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <chrono>
#include <string>
#include <thread>

#include "core/platform/paths.h"

namespace restash {
namespace {

// Without a trailing "/", as the user names a folder.
std::string FolderName(std::string folder) {
    while (folder.size() > 1 && folder.back() == kSeparator) folder.pop_back();
    return folder;
}

pid_t ReadHolder(int fd) {
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return 0;
    return static_cast<pid_t>(std::strtol(text, nullptr, 10));
}

bool Alive(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

// The holder writes its number as soon as it has the lock; a moment later
// it is there.
pid_t WaitForHolder(int fd) {
    pid_t pid = ReadHolder(fd);
    for (int i = 0; i < 50 && !Alive(pid); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        pid = ReadHolder(fd);
    }
    return pid;
}

}  // namespace

FolderInUse::FolderInUse(const std::string& root, pid_t holder)
    : Error(FolderName(root) + " is in use by process " + std::to_string(holder)), holder_(holder) {}

std::string OfflineParent(const std::string& root) { return DirPart(FolderName(root)); }

OfflineLock::OfflineLock(FileSystem& fs, const std::string& root) {
    const std::string parent = OfflineParent(root);
    if (!parent.empty()) fs.CreateDirectories(parent);
    const std::string path = parent + kLockFileName;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) ThrowErrno(path, errno);
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EWOULDBLOCK) {
            const pid_t holder = WaitForHolder(fd_);
            ::close(fd_);
            fd_ = -1;
            throw FolderInUse(root, holder);
        }
        // A file system without locks (some network ones): the run goes on
        // unguarded rather than not at all.
        if (err != ENOLCK && err != EOPNOTSUPP) {
            ::close(fd_);
            fd_ = -1;
            ThrowErrno(path, err);
        }
    }
    // The number only names the holder in another's message: not writing
    // it is no failure of the lock.
    const std::string self = std::to_string(::getpid()) + "\n";
    const bool written = ::ftruncate(fd_, 0) == 0 &&
                         ::pwrite(fd_, self.data(), self.size(), 0) == static_cast<ssize_t>(self.size());
    static_cast<void>(written);
}

OfflineLock::~OfflineLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace restash
