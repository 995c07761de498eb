// Reading cache2 entry files of metadata versions 1 to 3, and cache2 keys.
#include <gtest/gtest.h>

#include "core/cache/byte_order.h"
#include "core/cache/cache2/cache2_cache.h"
#include "core/cache/cache2/cache2_key.h"
#include "tests/core/cache/mozilla_site_check.h"
#include "tests/support/cache2_writer.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

cache2::Cache2Cache Read(const std::string& folder) {
    NullProgress progress;
    return cache2::ReadCache2(folder, progress);
}

class Cache2Versions : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(Cache2Versions, ListsEveryEntryOnceWithItsBody) {
    TempDir dir;
    WriteCache2(dir.path(), SampleSite(), MetadataVersion(GetParam()));
    const cache2::Cache2Cache cache = Read(dir.path());
    EXPECT_TRUE(cache.warnings.empty()) << cache.warnings[0].text;
    std::vector<const StoredEntry*> entries;
    for (const auto& e : cache.entries) {
        EXPECT_EQ(e.version, GetParam());
        EXPECT_TRUE(e.checksumMatches);
        entries.push_back(&e.entry);
    }
    ExpectSampleSite(entries, false);
}

INSTANTIATE_TEST_SUITE_P(MetadataVersions, Cache2Versions, ::testing::Values(1u, 2u, 3u));

TEST(Cache2, AlternativeDataIsNotPartOfTheBody) {
    TempDir dir;
    Cache2Options options;
    options.originAttributes = "^userContextId=2";
    options.altData = "BYTECODE";
    WriteCache2(dir.path(), {SampleSite()[0]}, options);
    const cache2::Cache2Cache cache = Read(dir / "entries");  // the entries folder may be named too
    ASSERT_EQ(cache.entries.size(), 1u);
    EXPECT_EQ(ReadStoredBodyBytes(cache.entries[0].entry.body), SampleSite()[0].body);
    EXPECT_EQ(cache.entries[0].entry.originAttributes, "^userContextId=2");
}

TEST(Cache2, DamagedFilesAreWarningsNotTheEnd) {
    TempDir dir;
    const std::vector<std::string> names = WriteCache2(dir.path(), SampleSite());
    WriteBytes(dir / "entries/0000", "xy");  // too short
    std::string bent = ReadBytes(dir / ("entries/" + names[1]));
    bent[bent.size() - 10] ^= 0x20;  // inside the elements: the checksum no longer agrees
    WriteBytes(dir / ("entries/" + names[1]), bent);
    std::string cut = ReadBytes(dir / ("entries/" + names[2]));  // its offset leaves too little for a header
    PutBig32(cut, cut.size() - 4, static_cast<std::uint32_t>(cut.size() - 14));
    WriteBytes(dir / ("entries/" + names[2]), cut);
    const cache2::Cache2Cache cache = Read(dir.path());
    EXPECT_EQ(cache.entries.size(), names.size() - 1);
    ASSERT_EQ(cache.warnings.size(), 3u);
    for (const Warning& w : cache.warnings) EXPECT_EQ(w.code, WarningCode::EntryDamaged) << w.text;
}

TEST(Cache2Key, TagsTakenApart) {
    struct Case {
        const char* key;
        bool valid, anonymous, isPrivate;
        const char* origin;
        const char* id;
        const char* address;
        const char* postId;
    };
    for (const Case& c : {
             Case{":http://a/", true, false, false, "", "", "http://a/", ""},
             Case{"a,:http://a/b?c", true, true, false, "", "", "http://a/b?c", ""},
             Case{"O^userContextId=1,a,p,:http://a/", true, true, true, "^userContextId=1", "", "http://a/",
                  ""},
             Case{"O^firstPartyDomain=x,,y,:http://a/", true, false, false, "^firstPartyDomain=x,y", "",
                  "http://a/", ""},
             Case{"a,~1599046417,:http://a/post", true, true, false, "", "1599046417", "http://a/post",
                  "1599046417"},
             Case{"~predictor-origin,:https://www.mozilla.org/", true, false, false, "", "predictor-origin",
                  "https://www.mozilla.org/", ""},
             Case{"i7,b,:http://old/", true, false, false, "", "", "http://old/", ""},
             Case{"a,http://no-colon-tag/", false, false, false, "", "", "a,http://no-colon-tag/", ""},
         }) {
        SCOPED_TRACE(c.key);
        const cache2::Cache2Key k = cache2::SplitCache2Key(c.key);
        EXPECT_EQ(k.valid, c.valid);
        EXPECT_EQ(k.anonymous, c.anonymous);
        EXPECT_EQ(k.isPrivate, c.isPrivate);
        EXPECT_EQ(k.originAttributes, c.origin);
        EXPECT_EQ(k.idExtension, c.id);
        EXPECT_EQ(k.address, c.address);
        EXPECT_EQ(cache2::PostIdOf(k.idExtension), c.postId);
    }
}

}  // namespace
}  // namespace restash::test
