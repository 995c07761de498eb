// Netscape 6.0's cache.db and its body folders, written by the real DB 1.85
// library in every form the browser's writers could have left.
#include <gtest/gtest.h>

#include "core/cache/netscape6/netscape6_cache.h"
#include "core/cache/netscape6/netscape6_record.h"
#include "tests/core/cache/mozilla_site_check.h"
#include "tests/support/db185.h"
#include "tests/support/netscape6_writer.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

class Netscape6Forms : public ::testing::TestWithParam<Netscape6Options> {};

TEST_P(Netscape6Forms, ListsEveryEntryOnceWithItsBody) {
    if (!db185::Available()) GTEST_SKIP() << "libdb1-compat is not installed";
    TempDir dir;
    const std::vector<WebObject> site = SampleSite();
    const std::string index = WriteNetscape6Cache(dir.path(), site, GetParam());
    NullProgress progress;
    const netscape6::Netscape6Cache cache = netscape6::ReadNetscape6Cache(index, progress);
    std::map<std::string, const StoredEntry*> byAddress;
    for (const StoredEntry& e : cache.entries) byAddress[e.address] = &e;
    ASSERT_EQ(byAddress.size(), site.size());
    ASSERT_EQ(cache.entries.size(), site.size());
    for (const WebObject& o : site) {
        SCOPED_TRACE(o.address);
        const StoredEntry& e = *byAddress[o.address];
        const CacheEntry facts = ToCacheEntry(e);
        EXPECT_EQ(facts.MimeType, o.mimeType);
        EXPECT_EQ(facts.Stamp, static_cast<std::int32_t>(o.lastFetched));
        EXPECT_EQ(e.fetchCount, o.fetchCount);
        EXPECT_EQ(e.body.Missing(), o.bodyMissing);
        if (!o.bodyMissing) {
            EXPECT_EQ(ReadStoredBodyBytes(e.body), o.body);
        }
    }
    ASSERT_EQ(cache.warnings.size(), 1u);
    EXPECT_EQ(cache.warnings[0].code, WarningCode::BodyMissing);
}

INSTANTIATE_TEST_SUITE_P(WriterForms, Netscape6Forms,
                         ::testing::Values(Netscape6Options{true, false, false},
                                           Netscape6Options{false, true, false},
                                           Netscape6Options{true, false, true}));

TEST(Netscape6Record, DamagedRecordsAndMetadataAreRefused) {
    WebObject o = SampleSite()[0];
    const std::string metadata = Netscape6Metadata(o, {});
    EXPECT_TRUE(netscape6::ParseCacheMetadata(metadata));
    for (const std::string& bad : {metadata.substr(0, metadata.size() - 1), "\x02" + metadata.substr(1),
                                   metadata + "xy", std::string()})
        EXPECT_FALSE(netscape6::ParseCacheMetadata(bad));
    EXPECT_EQ(netscape6::BodyFileName(0x00ff0021), "01/00ff0021");
    EXPECT_FALSE(netscape6::ParseCacheRecord(std::string(30, '\x01')));
}

}  // namespace
}  // namespace restash::test
