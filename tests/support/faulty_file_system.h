#pragma once
// A FileSystem over the real one that fails where a test tells it to: a
// rename onto a path, or writing to a path once a number of bytes went
// through (a disk that fills up). The failures are FileErrors naming the file,
// as the real ones are.
#include <string>

#include "core/platform/file_system.h"

namespace restash::test {

class FaultyFileSystem final : public FileSystem {
public:
    // A Rename whose target is this path fails.
    std::string failRenameTo;
    // Writing to this path fails once more than writeBudget bytes were
    // written to it (counted over every file opened for it).
    std::string failWritesTo;
    std::size_t writeBudget = 0;
    // How many bytes were written to failWritesTo so far.
    std::size_t written = 0;

    std::unique_ptr<OutputFile> Create(const std::string& path) override;
    std::unique_ptr<OutputFile> Append(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override { RealFileSystem().Remove(path); }
    void CopyFile(const std::string& from, const std::string& to) override {
        RealFileSystem().CopyFile(from, to);
    }
    void CreateDirectories(const std::string& path) override { RealFileSystem().CreateDirectories(path); }
    void RemoveDirectory(const std::string& path) override { RealFileSystem().RemoveDirectory(path); }

private:
    std::unique_ptr<OutputFile> Wrap(std::unique_ptr<OutputFile> file);
};

}  // namespace restash::test
