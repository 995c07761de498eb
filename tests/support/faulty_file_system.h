#pragma once
// A FileSystem over the real one that fails where a test tells it to, with
// FileErrors naming the file as the real failures do:
// - the n-th write, flush, close, rename, create or copy of the run
//   (failAt), so a test can walk a failure through every step of an
//   operation: "fail at 1", "fail at 2" ... until it completes;
// - a rename onto one path, or every rename after the first few;
// - writes to one path once a budget of bytes is spent (a disk that fills);
// - every change below a folder, as a read-only file system refuses them.
// A copy that fails stops half-way, leaving a partial file as a full disk
// does.
#include <cstddef>
#include <string>

#include "core/platform/file_system.h"

namespace restash::test {

class FaultyFileSystem final : public FileSystem {
public:
    // The counted operation (1-based) that fails; 0: none does.
    std::size_t failAt = 0;
    // Counted operations attempted so far (the failing one included).
    std::size_t operations = 0;
    // What the failing operation reports, and the file it named.
    std::string problem = "Disk full";
    std::string failedPath;

    // A Rename whose target is this path fails; so does one whose source is
    // failRenameFrom.
    std::string failRenameTo;
    std::string failRenameFrom;
    // Renames after this many succeeded fail; negative: no limit.
    int renamesBeforeFailure = -1;

    // Writing to this path fails once more than writeBudget bytes were
    // written to it (counted over every file opened for it).
    std::string failWritesTo;
    std::size_t writeBudget = 0;
    // How many bytes were written to failWritesTo so far.
    std::size_t written = 0;

    // Every change to a path below this folder fails with the read-only
    // file system's error (nothing below it is changed).
    std::string readOnlyUnder;

    std::unique_ptr<OutputFile> Create(const std::string& path) override;
    std::unique_ptr<OutputFile> Append(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    void CopyFile(const std::string& from, const std::string& to) override;
    void CreateDirectories(const std::string& path) override;
    void RemoveDirectory(const std::string& path) override;

    // Counts one operation on path and throws when it is the one to fail.
    void Step(const std::string& path);

private:
    void RefuseWhenReadOnly(const std::string& path) const;
    std::unique_ptr<OutputFile> Wrap(std::unique_ptr<OutputFile> file);
};

}  // namespace restash::test
