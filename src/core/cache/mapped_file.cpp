#include "core/cache/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/error.h"

namespace restash {

namespace {
// Closes the descriptor however the constructor leaves; the mapping outlives it.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};
}  // namespace

MappedFile::MappedFile(const std::string& path) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) ThrowErrno(path, errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) ThrowErrno(path, errno);
    if (S_ISDIR(info.st_mode)) ThrowErrno(path, EISDIR);
    // A pipe or a device could block or never end.
    if (!S_ISREG(info.st_mode)) throw FileError(path, "Not a regular file");
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ == 0) return;  // mmap refuses a length of 0
    void* data = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, file.fd, 0);
    if (data == MAP_FAILED) ThrowErrno(path, errno);
    data_ = data;
}

void MappedFile::Release(std::size_t from, std::size_t to) const {
    if (data_ == nullptr) return;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    from = (from + page - 1) / page * page;
    to = to < size_ ? to / page * page : size_;
    if (from >= to) return;
    // A private read-only file mapping: dropped pages come back from the file.
    ::madvise(static_cast<char*>(data_) + from, to - from, MADV_DONTNEED);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) ::munmap(data_, size_);
}

}  // namespace restash
