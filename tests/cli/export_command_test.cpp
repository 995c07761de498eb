#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace restash::test {
namespace {

// The whole decompressed archive: one gzip member after another.
std::string Gunzip(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    std::string out;
    char buffer[65536];
    int n;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
    gzclose(file);
    return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(ExportCommand, WritesTheChosenDomainAsResourceRecordsWithIndexAndManifest) {
    TempDir home;
    const std::string cache = CopySample("hash-cache", home / "cache");
    const CliResult all = RunCli(home, {"list", "--cache", cache + "/FAT.DB", "--format", "csv"});
    ASSERT_EQ(all.status, 0) << all.err;

    const CliResult r = RunCli(home, {"--now", "900000000", "export", "--cache", cache + "/FAT.DB", "--domain",
                                      "WWW.PHOTOHOST.EXAMPLE", "--warc", home / "out.warc.gz", "--cdxj",
                                      home / "out.cdxj", "--manifest", home / "out.json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string warc = Gunzip(home / "out.warc.gz");
    const std::size_t resources = Count(warc, "WARC-Type: resource\r\n");
    EXPECT_GT(resources, 0u);
    EXPECT_EQ(Count(warc, "WARC-Type: metadata\r\n"), resources);
    EXPECT_EQ(Count(warc, "WARC-Type: warcinfo\r\n"), 1u);
    // Only the chosen site's addresses are archived.
    EXPECT_EQ(Count(warc, "WARC-Target-URI: http://www.photohost.example/"), 2 * resources);
    EXPECT_EQ(Count(warc, "WARC-Target-URI: "), 2 * resources);

    std::istringstream cdxj(ReadBytes(home / "out.cdxj"));
    std::string line, previous;
    std::size_t lines = 0;
    while (std::getline(cdxj, line)) {
        EXPECT_LE(previous, line);
        EXPECT_EQ(line.rfind("example,photohost)/", 0), 0u) << line;
        previous = line;
        ++lines;
    }
    EXPECT_EQ(lines, resources);
    EXPECT_NE(ReadBytes(home / "out.json").find("\"present\""), std::string::npos);
}

TEST(ExportCommand, WritesAPackageAloneAndNothingElse) {
    TempDir home;
    const std::string cache = CopySample("hash-cache", home / "cache");
    std::filesystem::create_directory(home / "out");
    const CliResult r = RunCli(home, {"--now", "900000000", "export", "--cache", cache + "/FAT.DB", "--types",
                                      "text,media,other", "--wacz", home / "out/cache.wacz"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Package: " + home / "out/cache.wacz (14 pages)\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Archive: "), std::string::npos) << r.out;
    EXPECT_EQ(FilesIn(home / "out"), std::vector<std::string>{"cache.wacz"});
    EXPECT_EQ(ReadBytes(home / "out/cache.wacz").substr(0, 4), "PK\x03\x04");
}

TEST(ExportCommand, NeedsAnArchiveAndReportsAMissingIndex) {
    TempDir home;
    EXPECT_EQ(RunCli(home, {"export", "--cache", home / "nowhere/FAT.DB"}).status, 2);
    // An index points into an archive file.
    EXPECT_EQ(RunCli(home, {"export", "--cache", home / "nowhere/FAT.DB", "--wacz", home / "o.wacz", "--cdxj",
                            home / "o.cdxj"})
                  .status,
              2);
    const CliResult missing =
        RunCli(home, {"export", "--cache", home / "nowhere/FAT.DB", "--warc", home / "out.warc.gz"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find(home / "nowhere/FAT.DB"), std::string::npos) << missing.err;
    EXPECT_FALSE(FileExists(home / "out.warc.gz"));
}

}  // namespace
}  // namespace restash::test
