#pragma once
// The file-writing seam. Everything the core writes, renames, copies or
// removes goes through a FileSystem, so tests can inject a failing write,
// flush, close or rename (disk full, a read-only disk) at any point. Reading
// goes straight to the files. Every failure throws a FileError that names the
// file.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/error.h"

namespace restash {

class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual void Write(std::string_view bytes) = 0;
    virtual void Flush() = 0;
    // Flushes and closes; a file that is destroyed without Close() is closed
    // quietly (after an error has already been thrown).
    virtual void Close() = 0;
    virtual const std::string& Path() const = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Creates path, or empties it when it exists.
    virtual std::unique_ptr<OutputFile> Create(const std::string& path) = 0;
    // Opens path for appending, creating it when missing.
    virtual std::unique_ptr<OutputFile> Append(const std::string& path) = 0;
    // Moves from over to in one step (rename(2)).
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    // Removes a file; a missing file is no error.
    virtual void Remove(const std::string& path) = 0;
    // Byte-for-byte copy of a whole file; to is created or overwritten.
    virtual void CopyFile(const std::string& from, const std::string& to) = 0;
    // Creates a folder and every missing parent.
    virtual void CreateDirectories(const std::string& path) = 0;
    // Removes an empty folder; a missing one is no error.
    virtual void RemoveDirectory(const std::string& path) = 0;
};

// The real file system of this machine. It holds no state.
FileSystem& RealFileSystem();

// Writes a file that replaces another: the bytes go to a temporary file in
// the same folder, which is flushed, closed and then renamed over target in
// one step. When anything fails the temporary file is removed, target is left
// as it was, and the error is thrown.
void ReplaceFile(FileSystem& fs, const std::string& target,
                 const std::function<void(OutputFile&)>& write);

// The name of the temporary file ReplaceFile writes for target.
std::string TemporaryNameFor(const std::string& target);

// An error about the temporary file temp as an error about target, which is
// the file the user named; any other error as it is.
FileError NamingTarget(const FileError& e, const std::string& temp, const std::string& target);

// Removes path; a failure is ignored (for clearing up after another error).
void RemoveQuietly(FileSystem& fs, const std::string& path);

}  // namespace restash
