#include "tests/support/faulty_file_system.h"

#include <cerrno>
#include <filesystem>

#include "core/platform/error.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

class FaultyFile final : public OutputFile {
public:
    FaultyFile(std::unique_ptr<OutputFile> inner, FaultyFileSystem& fs) : inner_(std::move(inner)), fs_(fs) {}
    void Write(std::string_view bytes) override {
        fs_.Step(Path());
        if (!fs_.failWritesTo.empty() && Path() == fs_.failWritesTo) {
            if (fs_.written + bytes.size() > fs_.writeBudget) throw FileError(Path(), "Disk full");
            fs_.written += bytes.size();
        }
        inner_->Write(bytes);
    }
    void Flush() override {
        fs_.Step(Path());
        inner_->Flush();
    }
    // A failing close loses what the file still buffered, as a close that
    // fails on a full disk does.
    void Close() override {
        fs_.Step(Path());
        inner_->Close();
    }
    const std::string& Path() const override { return inner_->Path(); }

private:
    std::unique_ptr<OutputFile> inner_;
    FaultyFileSystem& fs_;
};

bool IsBelow(const std::string& folder, const std::string& path) {
    return !folder.empty() && path.compare(0, folder.size(), folder) == 0;
}

}  // namespace

void FaultyFileSystem::Step(const std::string& path) {
    ++operations;
    if (failAt != 0 && operations == failAt) {
        failedPath = path;
        throw FileError(path, problem);
    }
}

void FaultyFileSystem::RefuseWhenReadOnly(const std::string& path) const {
    if (IsBelow(readOnlyUnder, path)) throw FileError(path, DescribeErrno(EROFS));
}

std::unique_ptr<OutputFile> FaultyFileSystem::Wrap(std::unique_ptr<OutputFile> file) {
    return std::make_unique<FaultyFile>(std::move(file), *this);
}

std::unique_ptr<OutputFile> FaultyFileSystem::Create(const std::string& path) {
    RefuseWhenReadOnly(path);
    Step(path);
    return Wrap(RealFileSystem().Create(path));
}

std::unique_ptr<OutputFile> FaultyFileSystem::Append(const std::string& path) {
    RefuseWhenReadOnly(path);
    Step(path);
    return Wrap(RealFileSystem().Append(path));
}

void FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    RefuseWhenReadOnly(from);
    RefuseWhenReadOnly(to);
    Step(to);
    if (!failRenameTo.empty() && to == failRenameTo) throw FileError(to, "File access denied");
    if (!failRenameFrom.empty() && from == failRenameFrom) throw FileError(from, "File access denied");
    if (renamesBeforeFailure == 0) throw FileError(to, "Disk full");
    if (renamesBeforeFailure > 0) --renamesBeforeFailure;
    RealFileSystem().Rename(from, to);
}

void FaultyFileSystem::Remove(const std::string& path) {
    RefuseWhenReadOnly(path);
    RealFileSystem().Remove(path);
}

void FaultyFileSystem::CopyFile(const std::string& from, const std::string& to) {
    RefuseWhenReadOnly(to);
    try {
        Step(to);
    } catch (const FileError&) {
        const std::string bytes = ReadBytes(from);
        WriteBytes(to, bytes.substr(0, bytes.size() / 2));
        throw;
    }
    RealFileSystem().CopyFile(from, to);
}

void FaultyFileSystem::CreateDirectories(const std::string& path) {
    std::error_code ec;
    if (IsBelow(readOnlyUnder, path) && !std::filesystem::is_directory(path, ec))
        throw FileError(path, DescribeErrno(EROFS));
    RealFileSystem().CreateDirectories(path);
}

void FaultyFileSystem::RemoveDirectory(const std::string& path) {
    RefuseWhenReadOnly(path);
    RealFileSystem().RemoveDirectory(path);
}

}  // namespace restash::test
