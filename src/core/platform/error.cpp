#include "core/platform/error.h"

#include <cerrno>
#include <cstring>

namespace restash {

std::string DescribeErrno(int err) {
    switch (err) {
        case ENOENT: return "File not found";
        case ENOTDIR: return "Path not found";
        case EACCES:
        case EPERM: return "File access denied";
        case EROFS: return "File access denied (read-only file system)";
        case ENOSPC: return "Disk full";
        case EDQUOT: return "Disk quota exceeded";
        case EISDIR: return "Is a folder, not a file";
        case ENAMETOOLONG: return "File name too long";
        case EEXIST: return "File exists";
        case EIO: return "I/O error " + std::to_string(err);
        default: return std::string("I/O error ") + std::to_string(err) + " (" + std::strerror(err) + ")";
    }
}

void ThrowErrno(const std::string& path, int err) { throw FileError(path, DescribeErrno(err)); }

}  // namespace restash
