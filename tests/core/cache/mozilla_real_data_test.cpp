// Real Firefox caches that forensic projects publish as test data (see
// tests/data/mozilla/README): the addresses Restash lists are those a
// deliberately simple reading of the same bytes finds, and the facts the
// projects' own tests state.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "core/cache/byte_order.h"
#include "core/cache/cache2/cache2_cache.h"
#include "core/cache/mozilla/cache_key.h"
#include "core/cache/mozilla/disk_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

const std::string kData = std::string(RESTASH_SOURCE_DIR) + "/tests/data/mozilla/";

// Every key in the block files: "HTTP:" up to its NUL, where the nine-word
// header before it starts with version 1.x.
std::set<std::string> KeysByScanning(const std::string& folder) {
    std::set<std::string> keys;
    for (const char* name : {"_CACHE_001_", "_CACHE_002_", "_CACHE_003_"}) {
        const std::string bytes = ReadBytes(folder + name);
        for (std::size_t at = bytes.find("HTTP:"); at != std::string::npos; at = bytes.find("HTTP:", at + 1))
            if (at >= 36 && bytes[at - 36] == 0 && bytes[at - 35] == 1)
                keys.insert(bytes.substr(at, bytes.find('\0', at) - at));
    }
    return keys;
}

// The address of every cache2 entry file: the text after the key's ':'
// that is followed by "http", up to the NUL.
std::set<std::string> AddressesByScanning(const std::string& folder) {
    std::set<std::string> addresses;
    for (const auto& file : std::filesystem::directory_iterator(folder + "entries")) {
        const std::string bytes = ReadBytes(file.path().string());
        const std::uint32_t start = ReadBig32(bytes, bytes.size() - 4);
        if (start > bytes.size()) continue;
        const std::size_t at = bytes.find(":http", start);
        if (at != std::string::npos) addresses.insert(bytes.substr(at + 1, bytes.find('\0', at) - at - 1));
    }
    return addresses;
}

mozilla::DiskCache ReadDisk(const std::string& folder) {
    NullProgress progress;
    return mozilla::ReadDiskCache(folder, progress);
}

TEST(RealData, PlasoFirefox3BlockFilesWithoutTheirMap) {
    const mozilla::DiskCache cache = ReadDisk(kData + "plaso-firefox3");
    std::set<std::string> keys;
    std::map<std::string, int> perFile;
    for (const auto& e : cache.entries) {
        keys.insert(e.entry.key);
        ++perFile[e.entry.metadataFile];
        EXPECT_EQ(e.entry.address, mozilla::SplitDiskCacheKey(e.entry.key).address);
    }
    EXPECT_EQ(keys, KeysByScanning(kData + "plaso-firefox3/"));
    EXPECT_EQ(cache.entries.size(), 30u);
    EXPECT_EQ(perFile,
              (std::map<std::string, int>{{"_CACHE_001_", 25}, {"_CACHE_002_", 3}, {"_CACHE_003_", 2}}));
    EXPECT_EQ(cache.version, 11u);
    ASSERT_FALSE(cache.warnings.empty());
    EXPECT_EQ(cache.warnings[0].code, WarningCode::IndexDamaged);
    // What plaso's own test states of the first entry.
    const StoredEntry& first = cache.entries[0].entry;
    EXPECT_EQ(first.address, "http://start.mozilla.org/en-US/");
    EXPECT_EQ(first.lastFetched, 1399040103u);  // 2014-05-02T14:15:03
    EXPECT_EQ(first.expires, 1399126502u);      // 2014-05-03T14:15:02
    EXPECT_EQ(first.method, "GET");
    EXPECT_EQ(ToCacheEntry(first).MimeType, "TEXT/HTML");
}

TEST(RealData, DtformatsFirefox4CacheWithAHeaderOnlyMap) {
    const mozilla::DiskCache cache = ReadDisk(kData + "dtformats-cache1");
    std::set<std::string> keys;
    std::size_t bodies = 0;
    for (const auto& e : cache.entries) {
        keys.insert(e.entry.key);
        if (e.entry.body.Missing() || e.entry.body.kind == BodyLocation::Kind::None) continue;
        ++bodies;  // the separate data files, named for the key's hash
        EXPECT_EQ(ReadStoredBodyBytes(e.entry.body).size(), e.entry.dataSize) << e.entry.address;
    }
    EXPECT_EQ(keys, KeysByScanning(kData + "dtformats-cache1/"));
    EXPECT_EQ(bodies, 3u);
    EXPECT_EQ(cache.version, 19u);
    ASSERT_FALSE(cache.warnings.empty());
    EXPECT_NE(cache.warnings[0].text.find("(the dirty flag is set, shorter than its 512 records)"), std::string::npos)
        << cache.warnings[0].text;
}

TEST(RealData, Cache2EntriesOfBothProjects) {
    for (const char* folder : {"plaso-cache2/", "dtformats-cache2/"}) {
        SCOPED_TRACE(folder);
        NullProgress progress;
        const cache2::Cache2Cache cache = cache2::ReadCache2(kData + folder, progress);
        std::set<std::string> addresses;
        for (const auto& e : cache.entries) addresses.insert(e.entry.address);
        EXPECT_EQ(addresses, AddressesByScanning(kData + folder));
        for (const auto& e : cache.entries) EXPECT_TRUE(e.checksumMatches) << e.entry.address;
    }
    NullProgress progress;
    const cache2::Cache2Cache plaso = cache2::ReadCache2(kData + "plaso-cache2", progress);
    ASSERT_EQ(plaso.warnings.size(), 1u);  // C966EB70...: plaso's invalid file
    EXPECT_NE(plaso.warnings[0].file.find("C966EB70794E44E7E3E8A260106D0C72439AF65B"), std::string::npos);
    for (const auto& e : plaso.entries)
        if (e.entry.address.find("tiles.cdn.mozilla.net") != std::string::npos) {
            EXPECT_EQ(e.entry.fetchCount, 2u);            // plaso: fetch_count 2
            EXPECT_EQ(e.entry.lastFetched, 1430580931u);  // 2015-05-02T15:35:31
            EXPECT_EQ(ToCacheEntry(e.entry).MimeType, "IMAGE/PNG");
            EXPECT_EQ(ReadStoredBodyBytes(e.entry.body).substr(1, 3), "PNG");
        }
}

}  // namespace
}  // namespace restash::test
