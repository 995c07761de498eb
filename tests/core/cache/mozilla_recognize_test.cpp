// Which cache a named path holds: index files, cache folders, profiles.
#include <gtest/gtest.h>

#include "core/cache/recognize_cache.h"
#include "tests/support/cache2_writer.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/netscape6_writer.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

TEST(RecognizeCache, FilesFoldersAndProfiles) {
    TempDir dir;
    const std::vector<WebObject> site = SampleSite();
    WriteMozillaCache(dir / "p/Cache", site, MapVersion(11));
    WriteCache2(dir / "p/cache2", site);
    WriteMozillaCache(dir / "old/ab12cd34.slt/NewCache", site, MapVersion(5));
    MozillaCacheOptions noMap = MapVersion(19);
    noMap.writeMap = false;
    WriteMozillaCache(dir / "nomap/Cache", site, noMap);
    NsObject page;
    page.url = "http://a/";
    page.fileName = "M0000001.HTM";
    page.mimeType = "text/html";
    WriteTextCache(dir / "ns1", {page});
    WriteHashCache(dir / "ns4", {page});
    WriteNetscape6Cache(dir / "ns6", site);
    WriteBytes(dir / "junk/FAT.DB", "not a hash file at all");
    WriteBytes(dir / "empty/readme.txt", "nothing here");
    const std::string entry = WriteCache2(dir / "c2", {site[0]}).front();
    struct Case {
        std::string path;
        CacheFormat format;
        std::string family;
        std::string index;
        std::string folder;
    };
    const std::string moz11 = "Firefox 3-3.6 / SeaMonkey 2.0 (map 1.11)";
    for (const Case& c : {
             Case{dir / "p/Cache/_CACHE_MAP_", CacheFormat::MozillaDisk, moz11, dir / "p/Cache/_CACHE_MAP_",
                  dir / "p/Cache/"},
             Case{dir / "p/Cache/_CACHE_002_", CacheFormat::MozillaDisk, moz11, dir / "p/Cache/_CACHE_MAP_",
                  dir / "p/Cache/"},
             Case{dir / "p/Cache", CacheFormat::MozillaDisk, moz11, dir / "p/Cache/_CACHE_MAP_",
                  dir / "p/Cache/"},
             Case{dir / "p", CacheFormat::Cache2, "Firefox 32+ (cache2)", "", dir / "p/cache2/"},
             Case{dir / "p/cache2/entries", CacheFormat::Cache2, "Firefox 32+ (cache2)", "",
                  dir / "p/cache2/"},
             Case{dir / ("c2/entries/" + entry), CacheFormat::Cache2, "Firefox 32+ (cache2)", "",
                  dir / "c2/"},
             Case{dir / "old", CacheFormat::MozillaDisk,
                  "Mozilla 0.9.5-1.7 / Netscape 6.1-8 / Firefox 0.8-1.0 (map 1.5)",
                  dir / "old/ab12cd34.slt/NewCache/_CACHE_MAP_", dir / "old/ab12cd34.slt/NewCache/"},
             Case{dir / "nomap/Cache", CacheFormat::MozillaDisk, "Mozilla 0.9.5 to Firefox 31 (no map)", "",
                  dir / "nomap/Cache/"},
             Case{dir / "ns1", CacheFormat::NetscapeText, "Netscape 1-2", dir / "ns1/FAT", dir / "ns1/"},
             Case{dir / "ns4/FAT.DB", CacheFormat::NetscapeHash, "Netscape 2-4", dir / "ns4/FAT.DB",
                  dir / "ns4/"},
             Case{dir / "ns6", CacheFormat::Netscape6, "Netscape 6.0", dir / "ns6/cache.db", dir / "ns6/"},
             Case{dir / "junk/FAT.DB", CacheFormat::Unknown, "", "", ""},
             Case{dir / "empty", CacheFormat::Unknown, "", "", ""},
             Case{dir / "nowhere", CacheFormat::Unknown, "", "", ""},
         }) {
        SCOPED_TRACE(c.path);
        const RecognizedCache r = RecognizeCache(c.path);
        EXPECT_EQ(r.format, c.format) << r.problem;
        EXPECT_EQ(r.family, c.family);
        EXPECT_EQ(r.indexPath, c.index);
        EXPECT_EQ(r.folder, c.folder);
        EXPECT_EQ(r.problem.empty(), c.format != CacheFormat::Unknown);
    }
    // The profile holds an old Cache/ beside its cache2/: both are named.
    const RecognizedCache profile = RecognizeCache(dir / "p");
    ASSERT_EQ(profile.others.size(), 1u);
    EXPECT_EQ(profile.others[0].format, CacheFormat::MozillaDisk);
}

}  // namespace
}  // namespace restash::test
