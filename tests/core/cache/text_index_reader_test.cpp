#include <gtest/gtest.h>

#include <string>

#include "core/cache/netscape_readers.h"
#include "core/platform/error.h"
#include "tests/core/cache/text_index_test_lines.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using namespace std::string_literals;
using test::IndexLine;
using test::kTextHeader;
using test::RecordingProgress;
using test::TempDir;
using test::WriteBytes;

class TextIndexReader : public ::testing::Test {
protected:
    CacheEntryList Read(const std::string& bytes) {
        CacheFolder folder(dir.path());
        CacheEntryList entries;
        ReadTextIndex(bytes, dir / "FAT", folder, entries, progress);
        return entries;
    }
    void CacheFile(const std::string& name) { WriteBytes(dir / name, "x"); }

    TempDir dir;
    RecordingProgress progress;
};

TEST_F(TextIndexReader, FillsEveryFieldOfAnEntry) {
    CacheFile("M0A1B2C3.HTM");
    const std::string mime60 = "application/" + std::string(48, 'x');
    CacheFile("M0A1B2C4.ZIP");
    const auto entries =
        Read(kTextHeader + IndexLine("845000000", "C:\\NETSCAPE\\CACHE\\M0A1B2C3.HTM",
                                     "http://www.Example.com/dir/page.html", "text/html") +
             IndexLine("-00000000012345", "M0A1B2C4.ZIP", "http://host/a.zip", mime60));
    ASSERT_EQ(entries.size(), 2u);
    const CacheEntry& page = entries[0];
    EXPECT_EQ(page.Stamp, 845000000);
    EXPECT_EQ(page.Body.Name, "M0A1B2C3.HTM");
    EXPECT_EQ(page.Url, "http://www.Example.com/dir/page.html");
    EXPECT_EQ(page.Domain, "www.Example.com");
    EXPECT_EQ(page.MimeType, "TEXT/HTML");
    EXPECT_EQ(page.category, Category::Text);

    const CacheEntry& zip = entries[1];
    EXPECT_EQ(zip.Stamp, -12);  // the first 12 characters of the stamp
    EXPECT_EQ(zip.MimeType, std::string("APPLICATION/") + std::string(38, 'X'));
    EXPECT_EQ(zip.category, Category::Other);
}

TEST_F(TextIndexReader, ListsOnlyLinesWhoseCacheFileExists) {
    CacheFile("present.gif");
    const auto entries = Read(kTextHeader +
                              IndexLine("100", "C:\\CACHE\\GONE.GIF", "http://a/gone.gif", "image/gif") +
                              IndexLine("200", "C:\\CACHE\\PRESENT.GIF", "http://a/p.gif", "image/gif") +
                              IndexLine("300", "C:\\CACHE\\..", "http://a/up", "image/gif"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Stamp, 200);
    EXPECT_EQ(entries[0].Body.Name, "PRESENT.GIF");  // as the index names it
    EXPECT_EQ(entries[0].category, Category::Media);
}

TEST_F(TextIndexReader, TakesTheNameAfterTheLastSeparatorOfAnyKind) {
    CacheFile("A.HTM");
    CacheFile("B.HTM");
    CacheFile("C.HTM");
    const auto entries = Read(kTextHeader + IndexLine("1", "C:A.HTM", "http://a/1", "text/html") +
                              IndexLine("2", "/var/cache/sub\\B.HTM", "http://a/2", "text/html") +
                              IndexLine("3", "D:\\x\\y/C.HTM", "http://a/3", "text/html"));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Body.Name, "A.HTM");
    EXPECT_EQ(entries[1].Body.Name, "B.HTM");
    EXPECT_EQ(entries[2].Body.Name, "C.HTM");
}

TEST_F(TextIndexReader, IgnoresLinesThatEndWithTheSeventhField) {
    CacheFile("A.HTM");
    const std::string seven = "1\t2\t3\tA.HTM\thttp://a/\ttext/html\t7\r\n";
    const std::string eightSplitOddly = "1\t\t\x01" "2\t\0" "3\tA.HTM\thttp://a/\ttext/html\t7\t8\r\n"s;
    EXPECT_TRUE(Read(kTextHeader + seven).empty());
    const auto entries = Read(kTextHeader + eightSplitOddly);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Stamp, 3);
}

// One bad line costs that line only: it is named in a warning of its own,
// and the final warning counts the lines skipped.
TEST_F(TextIndexReader, AStampThatIsNotANumberSkipsThatLineNamingFileAndLine) {
    CacheFile("A.HTM");
    CacheFile("B.HTM");
    const std::string bytes = kTextHeader + IndexLine("10", "A.HTM", "http://a/1", "text/html") +
                              IndexLine("12ab", "MISSING.HTM", "http://a/2", "text/html") +  // not accepted: no warning
                              IndexLine("12ab", "B.HTM", "http://a/3", "text/html") +
                              IndexLine("99999999999", "A.HTM", "http://a/4", "text/html") +  // no 32-bit number
                              IndexLine("30", "A.HTM", "http://a/5", "text/html");
    CacheFolder folder(dir.path());
    CacheEntryList entries;
    const CacheRead read = ReadTextIndex(bytes, dir / "FAT", folder, entries, progress);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Url, "http://a/1");
    EXPECT_EQ(entries[1].Url, "http://a/5");
    ASSERT_EQ(read.warnings.size(), 3u);
    EXPECT_NE(read.warnings[0].text.find(dir / "FAT"), std::string::npos) << read.warnings[0].text;
    EXPECT_NE(read.warnings[0].text.find("line 4"), std::string::npos) << read.warnings[0].text;
    EXPECT_NE(read.warnings[0].text.find("12ab"), std::string::npos) << read.warnings[0].text;
    EXPECT_NE(read.warnings[1].text.find("line 5"), std::string::npos) << read.warnings[1].text;
    EXPECT_EQ(read.warnings[2].code, WarningCode::IndexDamaged);
    EXPECT_EQ(read.warnings[2].text, dir / "FAT" + " is damaged (2 lines were skipped, their time stamp not a number); "
                                                   "2 entries could be read, some may be missing");
}

TEST_F(TextIndexReader, HeaderOnlyEmptyOrGarbageYieldsNothing) {
    CacheFile("A.HTM");
    EXPECT_TRUE(Read("").empty());
    EXPECT_TRUE(Read(kTextHeader).empty());
    EXPECT_TRUE(Read("MCOM-CACHE").empty());
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += static_cast<char>(seed >> 16);
    }
    EXPECT_NO_THROW(Read(kTextHeader + noise));
}

TEST_F(TextIndexReader, LetsMessagesThroughBeforeEveryTwentiethLine) {
    CacheFile("A.HTM");
    std::string bytes = kTextHeader;
    for (int i = 0; i < 45; ++i) bytes += IndexLine(std::to_string(i + 1), "A.HTM", "http://a/", "text/html");
    // 45 lines plus the empty read at the end: points before lines 1, 21 and 41.
    EXPECT_EQ(Read(bytes).size(), 45u);
    EXPECT_EQ(progress.processCalls, 3);

    RecordingProgress stopping;
    stopping.stopAt = 2;
    CacheFolder folder(dir.path());
    CacheEntryList entries;
    ReadTextIndex(bytes, dir / "FAT", folder, entries, stopping);
    EXPECT_EQ(entries.size(), 20u);
}

}  // namespace
}  // namespace restash
