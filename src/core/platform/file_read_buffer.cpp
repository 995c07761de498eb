#include "core/platform/file_read_buffer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/error.h"

namespace restash {

FileReadBuffer::FileReadBuffer(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) ThrowErrno(path_, errno);
}

FileReadBuffer::~FileReadBuffer() { ::close(fd_); }

FileReadBuffer::int_type FileReadBuffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t n;
    do {
        n = ::read(fd_, buffer_, sizeof buffer_);
    } while (n < 0 && errno == EINTR);
    if (n < 0) ThrowErrno(path_, errno);
    if (n == 0) return traits_type::eof();
    setg(buffer_, buffer_, buffer_ + n);
    return traits_type::to_int_type(*gptr());
}

}  // namespace restash
