// ZIP files read back by Info-ZIP's unzip (Debian package unzip), which
// shares no code with the writer.
#include "core/export/zip_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

// What a shell command printed, and whether it succeeded.
std::pair<bool, std::string> Shell(const std::string& command, const TempDir& dir) {
    const int raw = std::system((command + " > '" + dir / "run.out" + "' 2>&1").c_str());
    return {WIFEXITED(raw) && WEXITSTATUS(raw) == 0, ReadBytes(dir / "run.out")};
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

void WriteZip(const std::string& path, std::int64_t time, const std::string& big) {
    auto out = RealFileSystem().Create(path);
    ZipWriter zip(*out, time);
    OutputFile& archive = zip.Begin("archive/data.warc.gz", true);
    for (std::size_t at = 0; at < big.size(); at += 1000)
        archive.Write(std::string_view(big).substr(at, 1000));
    zip.Begin("empty.txt");
    zip.Begin("datapackage.json").Write("{\"a\": 1}\n");
    zip.Finish();
    out->Close();
}

TEST(ZipWriter, StoresMembersThatUnzipReadsBackWithTheirTimeAndChecksums) {
    TempDir dir;
    std::string big;
    for (int i = 0; i < 300000; ++i) big += static_cast<char>(i * 7 ^ i >> 9);
    WriteZip(dir / "a.zip", 852076800 + 3662, big);  // 1997-01-01 01:01:02

    const auto [tested, testOut] = Shell("unzip -tq '" + dir / "a.zip" + "'", dir);
    EXPECT_TRUE(tested) << testOut;
    const auto [listed, listing] = Shell("zipinfo -v '" + dir / "a.zip" + "'", dir);
    ASSERT_TRUE(listed) << listing;
    EXPECT_EQ(Count(listing, "compression method:                             none (stored)"), 3u) << listing;
    EXPECT_EQ(Count(listing, "1997 Jan 1 01:01:02"), 3u) << listing;
    EXPECT_EQ(Count(listing, "extended local header:                          yes"), 3u) << listing;
    // Readers that find a member's data through the directory alone take its
    // local extra field to be as long as the directory's: 20 bytes for the
    // ZIP64 sizes of the large member, none for the others.
    EXPECT_EQ(Count(listing, "length of extra field:                          20 bytes"), 1u) << listing;
    EXPECT_EQ(Count(listing, "length of extra field:                          0 bytes"), 2u) << listing;
    const std::string bytes = ReadBytes(dir / "a.zip");
    EXPECT_EQ(bytes.substr(28, 2), std::string("\x14\0", 2));  // the first local header's extra field length
    EXPECT_EQ(Shell("unzip -p '" + dir / "a.zip" + "' archive/data.warc.gz", dir).second, big);
    EXPECT_EQ(Shell("unzip -p '" + dir / "a.zip" + "' datapackage.json", dir).second, "{\"a\": 1}\n");
    EXPECT_EQ(Shell("unzip -p '" + dir / "a.zip" + "' empty.txt", dir).second, "");

    // The same members at the same time give the same bytes; another time, others.
    WriteZip(dir / "b.zip", 852076800 + 3662, big);
    EXPECT_EQ(ReadBytes(dir / "b.zip"), ReadBytes(dir / "a.zip"));
    WriteZip(dir / "c.zip", 852076800 + 3664, big);
    EXPECT_NE(ReadBytes(dir / "c.zip"), ReadBytes(dir / "a.zip"));
}

// A file in which the test's pieces of zeros (a MiB or more; the writer's own
// headers are far shorter) become holes, so a ZIP file past 4 GiB takes
// little room and time.
class SparseFile final : public OutputFile {
public:
    explicit SparseFile(std::string path) : path_(std::move(path)) {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    ~SparseFile() override { Close(); }
    void Write(std::string_view bytes) override {
        if (bytes.size() >= 1 << 20) {
            ::lseek(fd_, static_cast<off_t>(bytes.size()), SEEK_CUR);
            return;
        }
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void Flush() override {}
    void Close() override {
        if (fd_ < 0) return;
        EXPECT_EQ(::ftruncate(fd_, ::lseek(fd_, 0, SEEK_CUR)), 0);
        ::close(fd_);
        fd_ = -1;
    }
    const std::string& Path() const override { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

TEST(ZipWriter, PassesFourGibibytesWithZip64Fields) {
    TempDir dir;
    constexpr std::uint64_t kBig = (std::uint64_t{1} << 32) + 1000;
    {
        SparseFile out(dir / "big.zip");
        ZipWriter zip(out, 852076800);
        OutputFile& big = zip.Begin("archive/data.warc.gz", true);
        const std::string zeros(64 << 20, '\0');
        for (std::uint64_t left = kBig; left > 0; left -= std::min<std::uint64_t>(left, zeros.size()))
            big.Write(std::string_view(zeros).substr(0, std::min<std::uint64_t>(left, zeros.size())));
        zip.Begin("pages/pages.jsonl").Write("after the big one\n");
        zip.Finish();
    }
    // The small member lies past 4 GiB, and so does the directory.
    const auto [listed, listing] = Shell("zipinfo -v '" + dir / "big.zip" + "'", dir);
    ASSERT_TRUE(listed) << listing;
    EXPECT_NE(listing.find("uncompressed size:                              4294968296 bytes"),
              std::string::npos)
        << listing;
    EXPECT_NE(listing.find("offset of local header from start of archive:   4294968390"), std::string::npos)
        << listing;
    const auto [tested, testOut] = Shell("unzip -tq '" + dir / "big.zip" + "' pages/pages.jsonl", dir);
    EXPECT_TRUE(tested) << testOut;
    EXPECT_EQ(Shell("unzip -p '" + dir / "big.zip" + "' pages/pages.jsonl", dir).second,
              "after the big one\n");
}

}  // namespace
}  // namespace restash::test
