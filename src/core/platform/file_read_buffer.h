#pragma once
// Reading a file through a buffer as a stream. A failed read throws a
// FileError naming the file, so a read error is never taken for the end of
// the file (a history or page cut short would replace the whole one).
#include <streambuf>
#include <string>

namespace restash {

class FileReadBuffer final : public std::streambuf {
public:
    // Opens path for reading; throws FileError when it cannot.
    explicit FileReadBuffer(std::string path);
    ~FileReadBuffer() override;
    FileReadBuffer(const FileReadBuffer&) = delete;
    FileReadBuffer& operator=(const FileReadBuffer&) = delete;

    const std::string& Path() const { return path_; }

protected:
    int_type underflow() override;

private:
    std::string path_;
    int fd_ = -1;
    char buffer_[64 * 1024];
};

}  // namespace restash
