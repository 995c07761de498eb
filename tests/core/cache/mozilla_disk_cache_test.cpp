// Reading Mozilla disk caches of every map layout the writer makes, read back
// entry for entry.
#include <gtest/gtest.h>

#include "core/cache/mozilla/cache_key.h"
#include "core/cache/mozilla/disk_cache.h"
#include "core/platform/error.h"
#include "tests/core/cache/mozilla_site_check.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

using mozilla::DiskCache;

std::vector<const StoredEntry*> Entries(const DiskCache& cache) {
    std::vector<const StoredEntry*> out;
    for (const auto& e : cache.entries) out.push_back(&e.entry);
    return out;
}

DiskCache ReadBack(const TempDir& dir) {
    NullProgress progress;
    return mozilla::ReadDiskCache(dir.path(), progress);
}

struct Layout {
    unsigned minor;
    bool bigEndianRecords;
    bool separateMetadata;
};

class DiskCacheLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(DiskCacheLayouts, ListsEveryEntryOnceWithItsBody) {
    TempDir dir;
    const Layout l = GetParam();
    MozillaCacheOptions options = MapVersion(l.minor);
    options.bigEndianRecords = l.bigEndianRecords;
    options.separateMetadata = l.separateMetadata;
    WriteMozillaCache(dir.path(), SampleSite(), options);
    const DiskCache cache = ReadBack(dir);
    EXPECT_TRUE(cache.mapSound);
    EXPECT_EQ(cache.version, l.minor);
    ExpectSampleSite(Entries(cache));
    // The one warning: the body file the writer left out.
    ASSERT_EQ(cache.warnings.size(), 1u);
    EXPECT_EQ(cache.warnings[0].code, WarningCode::BodyMissing);
    EXPECT_NE(cache.warnings[0].text.find("gone.js"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(MapVersions, DiskCacheLayouts,
                         ::testing::Values(Layout{5, false, false}, Layout{5, true, false},
                                           Layout{3, true, true}, Layout{8, false, false},
                                           Layout{11, false, false}, Layout{19, false, false},
                                           Layout{19, false, true}));

TEST(DiskCache, NestedFoldersFromMap19AndFlatBefore) {
    for (const unsigned minor : {11u, 19u}) {
        TempDir dir;
        WriteMozillaCache(dir.path(), SampleSite(), MapVersion(minor));
        const DiskCache cache = ReadBack(dir);
        for (const auto& e : cache.entries) {
            if (e.entry.body.kind != BodyLocation::Kind::SeparateFile || e.entry.body.Missing()) continue;
            EXPECT_EQ(e.entry.body.relativePath.find('/') != std::string::npos, minor >= 19)
                << e.entry.body.relativePath;
        }
    }
}

TEST(DiskCache, KeysTakenApart) {
    TempDir dir;
    std::vector<WebObject> objects = SampleSite();
    objects[0].anonymous = true;
    WriteMozillaCache(dir.path(), objects, MapVersion(19));
    const DiskCache cache = ReadBack(dir);
    for (const auto& e : cache.entries) {
        if (e.entry.address == objects[0].address) {
            EXPECT_TRUE(e.entry.anonymous);
            EXPECT_EQ(e.entry.key, "HTTP:anon&uri=" + objects[0].address);
        }
        if (!e.entry.postId.empty()) {
            EXPECT_EQ(e.entry.key, "HTTP:id=3b9aca05&uri=http://www.example.com/search.cgi");
        }
    }
}

TEST(DiskCacheKey, ClientPostIdAndAnonymousMarkTakenApart) {
    struct Case {
        const char* key;
        const char* client;
        const char* address;
        const char* postId;
        bool anonymous;
    };
    for (const Case& c : {
             Case{"HTTP:http://a/b?c=d:e", "HTTP", "http://a/b?c=d:e", "", false},
             Case{"HTTP:id=5363a864&uri=http://ocsp.digicert.com/", "HTTP", "http://ocsp.digicert.com/",
                  "5363a864", false},
             Case{"HTTP:anon&id=1f&uri=https://a/", "HTTP", "https://a/", "1f", true},
             Case{"HTTP:anon&uri=https://a/", "HTTP", "https://a/", "", true},
             Case{"HTTP~4294967294~0:https://sb-ssl.google.com/x", "HTTP~4294967294~0",
                  "https://sb-ssl.google.com/x", "", false},
             Case{"HTTP-memory-only:http://a/", "HTTP-memory-only", "http://a/", "", false},
             Case{"wyciwyg:wyciwyg://0/http://a/", "wyciwyg", "wyciwyg://0/http://a/", "", false},
             Case{"FTP:ftp://host/file", "FTP", "ftp://host/file", "", false},
             Case{"http://no-client/", "", "http://no-client/", "", false},
         }) {
        SCOPED_TRACE(c.key);
        const mozilla::KeyParts parts = mozilla::SplitDiskCacheKey(c.key);
        EXPECT_EQ(parts.clientId, c.client);
        EXPECT_EQ(parts.address, c.address);
        EXPECT_EQ(parts.postId, c.postId);
        EXPECT_EQ(parts.anonymous, c.anonymous);
    }
}

TEST(DiskCache, FolderThatIsNotThereIsAnError) {
    NullProgress progress;
    EXPECT_THROW(mozilla::ReadDiskCache("/nonexistent/restash/Cache", progress), FileError);
}

TEST(DiskCache, FamilyNamesTheBrowsers) {
    EXPECT_EQ(mozilla::DiskCacheFamily(19, true), "Firefox 4-31 / SeaMonkey 2.1-2.28 (map 1.19)");
    EXPECT_EQ(mozilla::DiskCacheFamily(5, true),
              "Mozilla 0.9.5-1.7 / Netscape 6.1-8 / Firefox 0.8-1.0 (map 1.5)");
    EXPECT_EQ(mozilla::DiskCacheFamily(11, false), "Firefox 3-3.6 / SeaMonkey 2.0 (entries 1.11, no map)");
}

}  // namespace
}  // namespace restash::test
