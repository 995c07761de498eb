#include "tests/support/faulty_file_system.h"

#include "core/platform/error.h"

namespace restash::test {
namespace {

class CountingFile final : public OutputFile {
public:
    CountingFile(std::unique_ptr<OutputFile> inner, FaultyFileSystem& fs) : inner_(std::move(inner)), fs_(fs) {}
    void Write(std::string_view bytes) override {
        if (fs_.written + bytes.size() > fs_.writeBudget) throw FileError(Path(), "Disk full");
        fs_.written += bytes.size();
        inner_->Write(bytes);
    }
    void Flush() override { inner_->Flush(); }
    void Close() override { inner_->Close(); }
    const std::string& Path() const override { return inner_->Path(); }

private:
    std::unique_ptr<OutputFile> inner_;
    FaultyFileSystem& fs_;
};

}  // namespace

std::unique_ptr<OutputFile> FaultyFileSystem::Wrap(std::unique_ptr<OutputFile> file) {
    if (failWritesTo.empty() || file->Path() != failWritesTo) return file;
    return std::make_unique<CountingFile>(std::move(file), *this);
}

std::unique_ptr<OutputFile> FaultyFileSystem::Create(const std::string& path) {
    return Wrap(RealFileSystem().Create(path));
}

std::unique_ptr<OutputFile> FaultyFileSystem::Append(const std::string& path) {
    return Wrap(RealFileSystem().Append(path));
}

void FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    if (!failRenameTo.empty() && to == failRenameTo) throw FileError(to, "File access denied");
    RealFileSystem().Rename(from, to);
}

}  // namespace restash::test
