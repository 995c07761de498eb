#include "core/platform/file_system.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "core/platform/error.h"

namespace restash {
namespace {

class PosixOutputFile final : public OutputFile {
public:
    PosixOutputFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) { buffer_.reserve(kBufferSize); }
    ~PosixOutputFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    void Write(std::string_view bytes) override {
        if (buffer_.size() + bytes.size() > kBufferSize) {
            Flush();
            if (bytes.size() >= kBufferSize) {
                WriteAll(bytes.data(), bytes.size());
                return;
            }
        }
        buffer_.append(bytes);
    }

    void Flush() override {
        if (!buffer_.empty()) {
            WriteAll(buffer_.data(), buffer_.size());
            buffer_.clear();
        }
    }

    void Close() override {
        if (fd_ < 0) return;
        Flush();
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowErrno(path_, errno);
    }

    const std::string& Path() const override { return path_; }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    void WriteAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                ThrowErrno(path_, errno);
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    std::string path_;
    int fd_;
    std::string buffer_;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<OutputFile> Create(const std::string& path) override {
        return Open(path, O_WRONLY | O_CREAT | O_TRUNC);
    }
    std::unique_ptr<OutputFile> Append(const std::string& path) override {
        return Open(path, O_WRONLY | O_CREAT | O_APPEND);
    }
    void Rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) ThrowErrno(to, errno);
    }
    void Remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) ThrowErrno(path, errno);
    }
    void CopyFile(const std::string& from, const std::string& to) override;
    void CreateDirectories(const std::string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        if (ec) throw FileError(path, DescribeErrno(ec.value()));
    }
    void RemoveDirectory(const std::string& path) override {
        if (::rmdir(path.c_str()) != 0 && errno != ENOENT) ThrowErrno(path, errno);
    }

private:
    static std::unique_ptr<OutputFile> Open(const std::string& path, int flags) {
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        if (fd < 0) ThrowErrno(path, errno);
        return std::make_unique<PosixOutputFile>(path, fd);
    }
};

// A whole-file copy in the kernel where it can (copy_file_range), with a plain
// read/write loop for file systems that refuse it.
void PosixFileSystem::CopyFile(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) ThrowErrno(from, errno);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        ThrowErrno(to, err);
    }
    auto fail = [&](const std::string& path, int err) {
        ::close(in);
        ::close(out);
        ThrowErrno(path, err);
    };
    bool kernelCopy = true;
    for (;;) {
        ssize_t n;
        if (kernelCopy) {
            n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno == ENOSPC || errno == EDQUOT ? to : from, errno);
            }
            if (n == 0) break;
            continue;
        }
        char buffer[64 * 1024];
        n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(from, errno);
        }
        if (n == 0) break;
        const char* p = buffer;
        while (n > 0) {
            const ssize_t w = ::write(out, p, static_cast<std::size_t>(n));
            if (w < 0) {
                if (errno == EINTR) continue;
                fail(to, errno);
            }
            p += w;
            n -= w;
        }
    }
    ::close(in);
    if (::close(out) != 0) ThrowErrno(to, errno);
}

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

std::string TemporaryNameFor(const std::string& target) { return target + ".restash-new"; }

FileError NamingTarget(const FileError& e, const std::string& temp, const std::string& target) {
    return e.path() == temp ? FileError(target, e.problem()) : e;
}

void RemoveQuietly(FileSystem& fs, const std::string& path) {
    try {
        fs.Remove(path);
    } catch (...) {
    }
}

void ReplaceFile(FileSystem& fs, const std::string& target, const std::function<void(OutputFile&)>& write) {
    const std::string temp = TemporaryNameFor(target);
    try {
        auto out = fs.Create(temp);
        write(*out);
        out->Close();
        fs.Rename(temp, target);
    } catch (const FileError& e) {
        RemoveQuietly(fs, temp);
        // The user knows the file by its own name, not by the temporary one.
        throw NamingTarget(e, temp, target);
    } catch (...) {
        RemoveQuietly(fs, temp);
        throw;
    }
}

}  // namespace restash
