#pragma once
// One error style for the whole core: an exception carrying the text the user
// sees. The front ends turn it into a message box or a line on stderr.
#include <stdexcept>
#include <string>

namespace restash {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file error names the file and says what went wrong with it, for example
// "/cache/FAT.DB: File not found".
class FileError : public Error {
public:
    FileError(std::string path, std::string what)
        : Error(path + ": " + what), path_(std::move(path)), what_(std::move(what)) {}
    const std::string& path() const { return path_; }
    const std::string& problem() const { return what_; }

private:
    std::string path_;
    std::string what_;
};

// The runtime's text for an errno value, in the words the user knows from the
// program's error box ("File not found", "File access denied", "Disk full").
std::string DescribeErrno(int err);

// Throws a FileError for path with the description of errno.
[[noreturn]] void ThrowErrno(const std::string& path, int err);

}  // namespace restash
