#pragma once
// The real file system, except that the rename that puts a replaced file in
// place fails after the first n have gone through (a full or read-only disk
// found only at the last step).
#include "core/platform/error.h"
#include "core/platform/file_system.h"

namespace restash::test {

class FailingRenames final : public FileSystem {
public:
    explicit FailingRenames(int succeeding = 0) : left_(succeeding) {}
    std::unique_ptr<OutputFile> Create(const std::string& p) override { return RealFileSystem().Create(p); }
    std::unique_ptr<OutputFile> Append(const std::string& p) override { return RealFileSystem().Append(p); }
    void Rename(const std::string& from, const std::string& to) override {
        if (left_-- <= 0) throw FileError(to, "Disk full");
        RealFileSystem().Rename(from, to);
    }
    void Remove(const std::string& p) override { RealFileSystem().Remove(p); }
    void CopyFile(const std::string& f, const std::string& t) override { RealFileSystem().CopyFile(f, t); }
    void CreateDirectories(const std::string& p) override { RealFileSystem().CreateDirectories(p); }
    void RemoveDirectory(const std::string& p) override { RealFileSystem().RemoveDirectory(p); }

private:
    int left_;
};

}  // namespace restash::test
