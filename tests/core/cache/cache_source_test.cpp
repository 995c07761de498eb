#include "core/cache/netscape_source.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/error.h"
#include "tests/core/cache/text_index_test_lines.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using test::IndexLine;
using test::kTextHeader;
using test::NsObject;
using test::RecordingProgress;
using test::TempDir;
using test::WriteBytes;

NsObject Object(std::string url, std::string fileName, std::string mimeType) {
    NsObject o;
    o.url = std::move(url);
    o.fileName = std::move(fileName);
    o.mimeType = std::move(mimeType);
    return o;
}

IndexFormat FormatOf(const std::string& bytes) {
    TempDir dir;
    WriteBytes(dir / "FAT", bytes);
    return DetectIndexFormat(dir / "FAT");
}

TEST(DetectIndexFormat, ComparesTheFirstTenCharactersOfTheFirstLine) {
    EXPECT_EQ(FormatOf(kTextHeader), IndexFormat::TextIndex);
    EXPECT_EQ(FormatOf("MCOM-CACHE"), IndexFormat::TextIndex);
    EXPECT_EQ(FormatOf("mcom-cache\r\n"), IndexFormat::TextIndex);
    EXPECT_EQ(FormatOf("Mosaic-Com-file-allocation-table\r\n"), IndexFormat::TextIndex);
    EXPECT_EQ(FormatOf("MCOM-CACHEXYZ"), IndexFormat::TextIndex);

    EXPECT_EQ(FormatOf(""), IndexFormat::HashIndex);
    EXPECT_EQ(FormatOf("MCOM-CACH\r\n"), IndexFormat::HashIndex);  // first line too short
    EXPECT_EQ(FormatOf("MCOM\r\n-CACHE\r\n"), IndexFormat::HashIndex);
    EXPECT_EQ(FormatOf("\r\nMCOM-CACHE\r\n"), IndexFormat::HashIndex);
    EXPECT_EQ(FormatOf(" MCOM-CACHE"), IndexFormat::HashIndex);
    // The start of a DB 1.85 hash file: magic 0x061561, version 2.
    EXPECT_EQ(FormatOf(std::string("\x61\x15\x06\x00\x02\x00\x00\x00", 8) + std::string(16376, '\0')),
              IndexFormat::HashIndex);
}

TEST(DetectIndexFormat, AnUnreadableIndexIsAFileErrorNamingIt) {
    TempDir dir;
    try {
        DetectIndexFormat(dir / "FAT.DB");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / "FAT.DB");
        EXPECT_EQ(e.problem(), "File not found");
    }
    std::filesystem::create_directories(dir / "FOLDER");
    EXPECT_THROW(DetectIndexFormat(dir / "FOLDER"), FileError);
}

class SourceRead : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { WriteBytes(dir / "FAT", bytes); }

    TempDir dir;
    RecordingProgress progress;
    CacheEntryList entries;
};

TEST_F(SourceRead, ReadsATextCacheAsNetscapeWroteIt) {
    const std::string longUrl = "http://www.example.com/search?q=" + std::string(9000, 'z');
    std::vector<NsObject> objects{Object("http://www.example.com/", "M0000001.HTM", "text/html"),
                                  Object("http://img.example.com/a.gif", "M0000002.GIF", "image/gif"),
                                  Object("http://www.example.com/gone.html", "M0000003.HTM", "text/html"),
                                  Object(longUrl, "m0000004.htm", "Text/Plain")};
    objects[2].writeFile = false;
    for (int i = 0; i < 4; ++i) objects[i].lastAccessed = 850000000 + i;
    test::WriteTextCache(dir.path(), objects, "FAT");

    ASSERT_EQ(DetectIndexFormat(dir / "FAT"), IndexFormat::TextIndex);
    entries.push_back(CacheEntry{});  // a previous read's entry goes
    NetscapeTextSource(dir / "FAT").Read(entries, progress);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Url, "http://www.example.com/");
    EXPECT_EQ(entries[0].Stamp, 850000000);
    EXPECT_EQ(entries[1].MimeType, "IMAGE/GIF");
    EXPECT_EQ(entries[1].category, Category::Media);
    EXPECT_EQ(entries[2].Url, longUrl);
    EXPECT_EQ(entries[2].Stamp, 850000003);
    EXPECT_EQ(entries[2].Body.Name, "m0000004.htm");
    EXPECT_EQ(entries[2].MimeType, "TEXT/PLAIN");
    ASSERT_EQ(progress.busy.size(), 2u);
    EXPECT_TRUE(progress.busy[0].on);
    EXPECT_EQ(progress.busy[0].caption, "Processing Cache Index. Please Wait.");
    EXPECT_FALSE(progress.busy[1].on);
}

TEST_F(SourceRead, AnEmptyIndexEmptiesTheList) {
    Write("");
    entries.push_back(CacheEntry{});
    NetscapeTextSource(dir / "FAT").Read(entries, progress);
    EXPECT_TRUE(entries.empty());
}

TEST_F(SourceRead, AMissingIndexKeepsThePreviousListAndClearsTheBusyState) {
    CacheEntry previous;
    previous.Url = "http://kept/";
    entries.push_back(previous);
    try {
        NetscapeHashSource(dir / "FAT.DB").Read(entries, progress);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / "FAT.DB");
    }
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Url, "http://kept/");
    ASSERT_EQ(progress.busy.size(), 2u);
    EXPECT_FALSE(progress.busy[1].on);
}

TEST_F(SourceRead, ABadStampClearsTheBusyStateAndKeepsTheOtherEntries) {
    WriteBytes(dir / "A.HTM", "x");
    Write(kTextHeader + IndexLine("5", "A.HTM", "http://h/a", "text/html") +
          IndexLine("five", "A.HTM", "http://h/b", "text/html") + IndexLine("6", "A.HTM", "http://h/c", "text/html"));
    const CacheRead read = NetscapeTextSource(dir / "FAT").Read(entries, progress);
    EXPECT_EQ(read.warnings.size(), 2u);
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(progress.busy.size(), 2u);
    EXPECT_FALSE(progress.busy[1].on);
}

// Both forms, asked for absent bodies too: the entry whose cache file is gone
// comes back marked absent, and its body is not found.
TEST_F(SourceRead, AbsentBodiesAreListedOnlyWhenAskedFor) {
    std::vector<NsObject> objects{Object("http://a.example/", "M1.HTM", "text/html"),
                                  Object("http://a.example/gone.gif", "M2.GIF", "image/gif"),
                                  Object("http://b.example/", "M3.HTM", "text/html")};
    objects[1].writeFile = false;
    for (const bool hash : {false, true}) {
        TempDir cache;
        const std::string index = hash ? test::WriteHashCache(cache.path(), objects) : test::WriteTextCache(cache.path(), objects);
        const auto source = OpenCacheSource(index);
        EXPECT_EQ(source->Traits().format, hash ? IndexFormat::HashIndex : IndexFormat::TextIndex);
        CacheEntryList present, all;
        EXPECT_EQ(source->Read(present, progress).ending, Ending::Finished);
        EXPECT_EQ(source->Read(all, progress, ReadOptions{true}).ending, Ending::Finished);
        ASSERT_EQ(present.size(), 2u) << hash;
        ASSERT_EQ(all.size(), 3u) << hash;
        const auto bodies = source->Bodies();
        for (const CacheEntry& e : all) {
            // The hash form lists its entries in the order of the file's pages.
            EXPECT_EQ(e.Body.Present, e.Body.Name != "M2.GIF") << e.Body.Name;
            const auto body = bodies->Find(e);
            EXPECT_EQ(body != nullptr, e.Body.Present) << e.Body.Name;
            if (body) {
                EXPECT_EQ(*body->PlainFile(), cache / e.Body.Name);
            }
        }
    }
}

// A stop asked for inside either reader comes back as Stopped, with the
// entries read by then and the busy state cleared.
TEST_F(SourceRead, AStopInsideTheReaderIsReported) {
    std::vector<NsObject> objects;
    for (int i = 0; i < 60; ++i)
        objects.push_back(Object("http://a.example/" + std::to_string(i), "M" + std::to_string(i) + ".HTM", "text/html"));
    for (const bool hash : {false, true}) {
        TempDir cache;
        const std::string index = hash ? test::WriteHashCache(cache.path(), objects) : test::WriteTextCache(cache.path(), objects);
        RecordingProgress stopping;
        stopping.stopAt = 1;
        CacheEntryList read;
        EXPECT_EQ(OpenCacheSource(index)->Read(read, stopping).ending, Ending::Stopped) << hash;
        EXPECT_LT(read.size(), objects.size());
        ASSERT_EQ(stopping.busy.size(), 2u);
        EXPECT_FALSE(stopping.busy[1].on);
    }
}

}  // namespace
}  // namespace restash
