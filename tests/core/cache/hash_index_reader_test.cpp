// The hash reader over files written by the real Berkeley DB 1.85 library
// with Netscape's record layout: every live entry whose cache file exists is
// listed exactly once, whatever sessions, page size or byte order made the
// file, and damaged files never crash or hang it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <tuple>

#include "core/cache/hash_page_walk.h"
#include "core/cache/netscape_readers.h"
#include "core/platform/text.h"
#include "tests/support/db185.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

NsObject Object(int n) {
    NsObject o;
    o.url = "http://www" + std::to_string(n % 11) + ".example.com/d" + std::to_string(n % 17) + "/p" +
            std::to_string(n) + ".html";
    o.fileName = "M" + std::to_string(1000000 + n) + ".HTM";
    static const char* kTypes[] = {"text/html", "image/gif", "image/jpeg", "application/x-zip-compressed"};
    o.mimeType = kTypes[n % 4];
    o.body = "b" + std::to_string(n);
    o.lastModified = 850000000 + n;
    o.lastAccessed = 860000000 + n;
    return o;
}

// An entry reduced to what the reader must reproduce from an object.
using Row = std::tuple<std::string, std::string, std::string, std::int32_t>;  // file, url, mime, stamp

Row Expected(const NsObject& o) {
    const std::string address = o.url.substr(0, o.url.find('#'));
    return {ToUpperAscii(o.fileName), address.size() + 1 < 512 ? address : "",
            ToUpperAscii(o.mimeType.substr(0, 50)), o.lastAccessed};
}
Row Listed(const CacheEntry& e) { return {e.Body.Name, e.Url, e.MimeType, e.Stamp}; }

std::vector<Row> ExpectedRows(const std::vector<NsObject>& live) {
    std::vector<Row> rows;
    for (const NsObject& o : live)
        if (o.writeFile) rows.push_back(Expected(o));
    std::sort(rows.begin(), rows.end());
    return rows;
}
std::vector<Row> ListedRows(const CacheEntryList& entries) {
    std::vector<Row> rows;
    for (const CacheEntry& e : entries) rows.push_back(Listed(e));
    std::sort(rows.begin(), rows.end());
    return rows;
}

CacheEntryList ReadHash(const std::string& bytes, const std::string& folder, ProgressSink& progress) {
    CacheEntryList entries;
    ReadHashIndex(bytes, CacheFolder(folder), entries, progress);
    return entries;
}
CacheEntryList ReadHash(const std::string& bytes, const std::string& folder) {
    NullProgress progress;
    return ReadHash(bytes, folder, progress);
}
CacheEntryList WalkPages(const std::string& bytes, const std::string& folder) {
    NullProgress progress;
    CacheEntryList entries;
    WalkHashPages(bytes, CacheFolder(folder), entries, progress);
    return entries;
}

struct Layout {
    unsigned pageSize;
    bool bigEndian;
};
std::string Name(const ::testing::TestParamInfo<Layout>& info) {
    return std::to_string(info.param.pageSize) + (info.param.bigEndian ? "BigEndian" : "");
}

class HashReaderTest : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        if (!db185::Available()) GTEST_SKIP() << "libdb1-compat is not installed";
    }
    HashCacheOptions Options() const {
        HashCacheOptions o;
        o.pageSize = GetParam().pageSize;
        o.bigEndian = GetParam().bigEndian;
        return o;
    }
    void ExpectEveryLiveEntryOnce(const HashCacheWriter& writer) {
        const CacheEntryList listed = ReadHash(ReadBytes(writer.IndexPath()), dir.path());
        EXPECT_EQ(ListedRows(listed), ExpectedRows(writer.Live()));
    }
    TempDir dir;
};

TEST_P(HashReaderTest, ASingleEntry) {
    HashCacheWriter writer(dir.path(), "FAT.DB", Options());
    writer.BeginSession();
    writer.Put(Object(1));
    writer.EndSession();
    const CacheEntryList listed = ReadHash(ReadBytes(writer.IndexPath()), dir.path());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Body.Name, "M1000001.HTM");
    EXPECT_EQ(listed[0].Url, "http://www1.example.com/d1/p1.html");
    EXPECT_EQ(listed[0].Domain, "www1.example.com");
    EXPECT_EQ(listed[0].MimeType, "IMAGE/GIF");
    EXPECT_EQ(listed[0].category, Category::Media);
    EXPECT_EQ(listed[0].Stamp, 860000001);
}

// Netscape-like use: a first session ended normally, a second that replaces
// objects, evicts the oldest (writing the special records right after) and
// ends without its shutdown update, a third that adds more and ends normally.
TEST_P(HashReaderTest, SessionsWithReplacementsAndEvictions) {
    HashCacheWriter writer(dir.path(), "FAT.DB", Options());
    writer.BeginSession();
    for (int n = 0; n < 600; ++n) writer.Put(Object(n));
    writer.EndSession();
    ExpectEveryLiveEntryOnce(writer);

    writer.BeginSession();
    for (int n = 0; n < 600; n += 6) {
        NsObject o = Object(n);
        o.fileName = "R" + std::to_string(1000000 + n) + ".HTM";  // a fresh copy under a new name
        o.lastAccessed = 870000000 + n;
        writer.Put(o);
    }
    for (int n = 600; n < 1000; ++n) writer.Put(Object(n));
    writer.EvictOldest(150);
    for (int n = 1000; n < 1100; ++n) writer.Put(Object(n));
    writer.EndSession(false);
    ExpectEveryLiveEntryOnce(writer);

    writer.BeginSession();
    for (int n = 1100; n < 1150; ++n) writer.Put(Object(n));
    writer.EvictOldest(40);
    writer.EndSession();
    ExpectEveryLiveEntryOnce(writer);
}

TEST_P(HashReaderTest, SecureVersion5AndPostRecordsKeepTheirContentType) {
    HashCacheWriter writer(dir.path(), "FAT.DB", Options());
    writer.BeginSession();
    for (int n = 0; n < 300; ++n) {
        NsObject o = Object(n);
        o.version = n % 2 ? 5 : 3;
        o.secure = n % 3 == 0;
        if (n % 7 == 0) o.postData = "q=" + std::to_string(n);
        o.charset = n % 5 ? "" : "iso-8859-1";
        writer.Put(o);
    }
    writer.EndSession();
    ExpectEveryLiveEntryOnce(writer);
}

// Addresses from 10 to 9,000 characters: the long ones make pairs too big
// for a page, stored across overflow pages.
TEST_P(HashReaderTest, LongAddressesMakeBigPairs) {
    HashCacheWriter writer(dir.path(), "FAT.DB", Options());
    writer.BeginSession();
    const std::size_t lengths[] = {10, 100, 254, 255, 256, 510, 511, 512, 1000, 4000, 4096, 9000, 16500};
    int n = 0;
    for (std::size_t length : lengths) {
        for (int copy = 0; copy < 3; ++copy, ++n) {
            NsObject o = Object(n);
            const std::string prefix = "http://long" + std::to_string(n) + ".example.com/";
            o.url = prefix + std::string(length > prefix.size() ? length - prefix.size() : 0, 'a' + copy);
            o.url.resize(std::max(length, prefix.size()));
            writer.Put(o);
        }
    }
    for (int m = 100; m < 400; ++m) writer.Put(Object(m));
    writer.EndSession();
    ExpectEveryLiveEntryOnce(writer);
}

TEST_P(HashReaderTest, OnlyEntriesWhoseCacheFileExists) {
    HashCacheWriter writer(dir.path(), "FAT.DB", Options());
    writer.BeginSession();
    for (int n = 0; n < 200; ++n) {
        NsObject o = Object(n);
        o.writeFile = n % 4 != 0;
        if (n % 10 == 1) o.fileName = "0" + std::to_string(n % 3) + "/cache33BAD64001B" + std::to_string(n) + ".html";
        writer.Put(o);
    }
    writer.EndSession();
    const CacheEntryList listed = ReadHash(ReadBytes(writer.IndexPath()), dir.path());
    EXPECT_EQ(ListedRows(listed), ExpectedRows(writer.Live()));
    EXPECT_EQ(listed.size(), 150u);
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(),
                            [](const CacheEntry& e) { return e.Body.Name == "02/CACHE33BAD64001B11.HTML"; }));
}

INSTANTIATE_TEST_SUITE_P(Layouts, HashReaderTest,
                         ::testing::Values(Layout{16384, false}, Layout{4096, false}, Layout{4096, true},
                                           Layout{16384, true}),
                         Name);

class HashReaderFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!db185::Available()) GTEST_SKIP() << "libdb1-compat is not installed";
    }
    TempDir dir;
};

// Creating a file costs about a millisecond here, so the 20,000 objects
// share 100 cache files, written by the first 100 of them.
TEST_F(HashReaderFileTest, TwentyThousandEntriesInTwoSessions) {
    HashCacheOptions options;
    options.pageSize = 4096;
    HashCacheWriter writer(dir.path(), "FAT.DB", options);
    auto shared = [](int n) {
        NsObject o = Object(n);
        o.fileName = "S" + std::to_string(n % 100) + ".HTM";
        o.writeFile = n < 100;
        return o;
    };
    writer.BeginSession();
    for (int n = 0; n < 12000; ++n) writer.Put(shared(n));
    writer.EndSession();
    writer.BeginSession();
    for (int n = 12000; n < 20000; ++n) writer.Put(shared(n));
    writer.EndSession(false);
    std::vector<Row> expected;
    for (const NsObject& o : writer.Live()) expected.push_back(Expected(o));
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected.size(), 20000u);

    const std::string bytes = ReadBytes(writer.IndexPath());
    const auto start = std::chrono::steady_clock::now();
    const CacheEntryList listed = ReadHash(bytes, dir.path());
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ListedRows(listed), expected);
    EXPECT_LT(took, std::chrono::seconds(2));
}

// Where the page walk decodes a file correctly the two readers agree entry
// for entry and in the same order; a damaged header hands the same file to
// the walk.
TEST_F(HashReaderFileTest, AgreesWithThePageWalkOnCleanFiles) {
    for (int count : {1, 5, 40}) {
        SCOPED_TRACE(count);
        TempDir cache;
        std::vector<NsObject> objects;
        for (int n = 0; n < count; ++n) objects.push_back(Object(n));
        const std::string bytes = ReadBytes(WriteHashCache(cache.path(), objects));
        const CacheEntryList sound = ReadHash(bytes, cache.path());
        const CacheEntryList walked = WalkPages(bytes, cache.path());
        ASSERT_EQ(ListedRows(walked), ExpectedRows(objects)) << "the walk must read this file correctly";
        ASSERT_EQ(sound.size(), walked.size());
        for (std::size_t i = 0; i < sound.size(); ++i) EXPECT_EQ(Listed(sound[i]), Listed(walked[i])) << i;

        std::string damaged = bytes;
        damaged[0] ^= 0x55;
        const CacheEntryList fallback = ReadHash(damaged, cache.path());
        ASSERT_EQ(fallback.size(), walked.size());
        for (std::size_t i = 0; i < fallback.size(); ++i) EXPECT_EQ(Listed(fallback[i]), Listed(walked[i]));
    }
}

TEST_F(HashReaderFileTest, FillsTheExtrasOfBothKnownVersions) {
    std::vector<NsObject> objects;
    for (int version : {3, 5}) {
        NsObject o = Object(version);
        o.version = version;
        o.secure = version == 5;
        o.expires = 880000000;
        o.contentEncoding = "x-gzip";
        o.charset = "iso-8859-1";
        o.incomplete = version == 3;
        o.contentLength = 1234;
        objects.push_back(o);
    }
    const CacheEntryList listed = ReadHash(ReadBytes(WriteHashCache(dir.path(), objects)), dir.path());
    ASSERT_EQ(listed.size(), 2u);
    for (const CacheEntry& e : listed) {
        const bool v3 = e.Body.Name == "M1000003.HTM";
        EXPECT_EQ(e.LastModified, v3 ? 850000003 : 850000005);
        EXPECT_EQ(e.Expires, 880000000);
        EXPECT_EQ(e.ContentLength, 1234);
        EXPECT_EQ(e.ContentEncoding, "x-gzip");
        EXPECT_EQ(e.Charset, "iso-8859-1");
        EXPECT_EQ(e.IncompleteFile, v3);
    }
}

TEST_F(HashReaderFileTest, LetsMessagesThroughOncePerPageAndStopsWhenAsked) {
    std::vector<NsObject> objects;
    for (int n = 0; n < 500; ++n) objects.push_back(Object(n));
    HashCacheOptions options;
    options.pageSize = 4096;
    const std::string bytes = ReadBytes(WriteHashCache(dir.path(), objects, options));
    RecordingProgress all;
    const std::size_t total = ReadHash(bytes, dir.path(), all).size();
    EXPECT_EQ(total, 500u);
    EXPECT_GT(all.processCalls, 10);
    EXPECT_LE(all.processCalls, static_cast<long>(bytes.size() / 4096));

    RecordingProgress stopping;
    stopping.stopAt = 3;
    const std::size_t partial = ReadHash(bytes, dir.path(), stopping).size();
    EXPECT_EQ(stopping.processCalls, 3);
    EXPECT_LT(partial, total);
}

// Damaged input never crashes, hangs or reads outside the bytes; what is
// still intact is found.
TEST_F(HashReaderFileTest, DamagedFilesAreReadAsFarAsTheyGo) {
    std::vector<NsObject> objects;
    for (int n = 0; n < 300; ++n) objects.push_back(Object(n));
    HashCacheOptions options;
    options.pageSize = 4096;
    const std::string bytes = ReadBytes(WriteHashCache(dir.path(), objects, options));

    EXPECT_TRUE(ReadHash("", dir.path()).empty());
    EXPECT_TRUE(ReadHash(bytes.substr(0, 4096), dir.path()).empty());  // the header page alone

    std::mt19937 random(1998);
    for (int round = 0; round < 20; ++round) {
        std::string noise(std::uniform_int_distribution<std::size_t>(1, 70000)(random), '\0');
        for (char& c : noise) c = static_cast<char>(random());
        ReadHash(noise, dir.path());
        // Noise behind an intact header: every link and offset is garbage.
        noise.replace(0, std::min<std::size_t>(4096, noise.size()), bytes.substr(0, 4096));
        ReadHash(noise, dir.path());
    }

    std::size_t previous = 0;
    for (std::size_t length = 4096; length <= bytes.size(); length += 4096 * 3 + 111) {
        const std::size_t found = ReadHash(bytes.substr(0, length), dir.path()).size();
        EXPECT_GE(found, previous) << "a longer prefix of the file never yields fewer entries";
        previous = found;
    }

    // Header words that make no sense: bad page size, bucket counts beyond
    // the split points, split points running backwards, a huge header.
    const std::size_t words[] = {1, 2, 3, 4, 8, 10, 15, 18};
    for (std::size_t word : words) {
        for (std::uint32_t value : {0u, 1u, 7u, 0x7fffffffu, 0xffffffffu}) {
            std::string damaged = bytes;
            for (int i = 0; i < 4; ++i) damaged[word * 4 + i] = static_cast<char>(value >> (8 * (3 - i)));
            ReadHash(damaged, dir.path());
        }
    }
    // Every page word of every page, one at a time, turned into a value
    // that points anywhere: overflow links into loops, offsets off the page.
    for (std::size_t page = 1; page * 4096 < bytes.size(); ++page) {
        for (std::size_t word : {0, 1, 2, 3, 4, 5}) {
            for (std::uint16_t value : {0, 1, 2, 3, 0x0801, 0xffff}) {
                std::string damaged = bytes;
                damaged[page * 4096 + word * 2] = static_cast<char>(value & 0xff);
                damaged[page * 4096 + word * 2 + 1] = static_cast<char>(value >> 8);
                const CacheEntryList listed = ReadHash(damaged, dir.path());
                EXPECT_LE(listed.size(), objects.size());
            }
        }
    }
}

}  // namespace
}  // namespace restash::test
