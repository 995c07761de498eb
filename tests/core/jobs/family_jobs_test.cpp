// The jobs on the later browsers' caches, named by their folder: the list of
// the real Firefox caches that forensic projects publish (tests/data/mozilla)
// holds the addresses their readers find; a deletion goes through on a sound
// disk cache and is refused, with nothing changed, on cache2 and Netscape 6.0.
#include <gtest/gtest.h>

#include <set>

#include "core/cache/cache2/cache2_cache.h"
#include "core/cache/mozilla/disk_cache.h"
#include "core/jobs/list_job.h"
#include "tests/core/jobs/delete_fixture.h"
#include "tests/support/cache2_writer.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/netscape6_writer.h"

namespace restash::test {
namespace {

const std::string kData = std::string(RESTASH_SOURCE_DIR) + "/tests/data/mozilla/";

// The addresses listed, each as often as it is listed: POST responses (OCSP
// requests in these caches) share an address under keys of their own.
std::multiset<std::string> ListedAddresses(const std::string& folder, bool includeAbsent, std::string& family) {
    JobFixture f;
    UseCacheFolder(f.settings, folder);
    const Outcome<ListSummary> o = ListJob({f.settings, includeAbsent, std::nullopt}, f.Use()).Run();
    EXPECT_EQ(o.status, JobStatus::Completed) << o.failure.text;
    family = o.summary.family;
    std::multiset<std::string> urls;
    for (const CacheEntry& e : o.summary.entries) urls.insert(e.Url);
    return urls;
}

TEST(FamilyListJob, RealFirefoxCachesListTheAddressesTheirReadersFind) {
    struct Case {
        const char* folder;
        bool cache2;
        const char* family;
    };
    for (const Case& c : {Case{"plaso-firefox3", false, "no map"}, Case{"dtformats-cache1", false, "map 1.19"},
                          Case{"plaso-cache2", true, "cache2"}, Case{"dtformats-cache2", true, "cache2"}}) {
        SCOPED_TRACE(c.folder);
        NullProgress quiet;
        std::multiset<std::string> expected, present;
        const auto note = [&](const StoredEntry& e) {
            expected.insert(e.address);
            if (e.body.kind != BodyLocation::Kind::None && !e.body.Missing()) present.insert(e.address);
        };
        if (c.cache2) {
            for (const auto& e : cache2::ReadCache2(kData + c.folder + "/", quiet).entries) note(e.entry);
        } else {
            for (const auto& e : mozilla::ReadDiskCache(kData + c.folder + "/", quiet).entries) note(e.entry);
        }
        ASSERT_FALSE(expected.empty());
        std::string family;
        EXPECT_EQ(ListedAddresses(kData + c.folder, true, family), expected);
        EXPECT_NE(family.find(c.family), std::string::npos) << family;
        // Without the absent ones: the bodies that can be copied.
        EXPECT_EQ(ListedAddresses(kData + c.folder, false, family), present);
    }
}

struct Refusal {
    const char* name;
    IndexFormat format;
    void (*write)(const std::string& folder);
};

class FamilyDeleteRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(FamilyDeleteRefused, NothingIsAskedNorChanged) {
    DeleteFixture f;
    f.fatName = "";
    GetParam().write(f.cache);
    f.Open(GetParam().format);
    const auto before = JobFixture::Tree(f.cache);
    const Deleted d = f.Delete();
    EXPECT_EQ(d.status, JobStatus::Failed);
    EXPECT_EQ(d.failure.code, FailureCode::Error);
    EXPECT_NE(d.failure.text.find("cannot be deleted"), std::string::npos) << d.failure.text;
    EXPECT_TRUE(f.messages.shown.empty()) << "no question before the refusal";
    EXPECT_EQ(JobFixture::Tree(f.cache), before);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FamilyDeleteRefused,
    ::testing::Values(Refusal{"cache2", IndexFormat::Cache2, [](const std::string& d) { WriteCache2(d, SampleSite()); }},
                      Refusal{"netscape6", IndexFormat::Netscape6,
                              [](const std::string& d) { WriteNetscape6Cache(d, SampleSite()); }},
                      Refusal{"dirtyMap", IndexFormat::MozillaDisk,
                              [](const std::string& d) {
                                  MozillaCacheOptions dirty = MapVersion(19);
                                  dirty.dirty = true;
                                  WriteMozillaCache(d, SampleSite(), dirty);
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FamilyDeleteJob, RemovesTheChosenSiteFromASoundDiskCache) {
    DeleteFixture f;
    f.fatName = "";
    WriteMozillaCache(f.cache, SampleSite(), MapVersion(8));
    f.Open(IndexFormat::MozillaDisk);
    ASSERT_FALSE(f.model.Entries().empty());
    f.messages.Answer(Answer::Yes);
    const Deleted d = f.Delete();
    ASSERT_EQ(d.status, JobStatus::Completed) << d.failure.text;
    EXPECT_EQ(d.entriesRemoved, 8u);
    EXPECT_TRUE(d.failures.empty());
    // The cache read again holds only the entry whose body was missing.
    CacheEntryList left;
    NullProgress quiet;
    f.source->Read(left, quiet, {true});
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].Url, "http://www.example.com/gone.js");
    EXPECT_TRUE(f.model.Entries().empty());
}

}  // namespace
}  // namespace restash::test
