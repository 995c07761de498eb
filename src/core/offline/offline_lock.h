#pragma once
// One run at a time in an offline folder. The uncaching run and the search
// hold an exclusive lock (flock) on the file .restash-lock in the folder that
// holds the offline root for as long as they write there; a second one ends
// at once. The lock file lies beside the root, not in it, since a run puts a
// new root in place of the old one. The lock goes with the process that holds
// it, so the lock of a process that died never blocks.
#include <sys/types.h>

#include <string>

#include "core/platform/error.h"
#include "core/platform/file_system.h"

namespace restash {

inline constexpr const char* kLockFileName = ".restash-lock";

// Another process holds the lock: "ROOT is in use by process N".
class FolderInUse : public Error {
public:
    FolderInUse(const std::string& root, pid_t holder);
    pid_t holder() const { return holder_; }

private:
    pid_t holder_;
};

class OfflineLock {
public:
    // Takes the lock of root (".../OFFLINE/"); the folder that holds it is
    // made when missing. Throws FolderInUse when another process holds it,
    // FileError when the lock file cannot be made.
    OfflineLock(FileSystem& fs, const std::string& root);
    ~OfflineLock();
    OfflineLock(const OfflineLock&) = delete;
    OfflineLock& operator=(const OfflineLock&) = delete;

private:
    int fd_ = -1;
};

// The folder that holds root, ending in "/": where the lock file and the
// new copy go.
std::string OfflineParent(const std::string& root);

}  // namespace restash
