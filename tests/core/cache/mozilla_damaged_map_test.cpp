// A disk cache whose map is missing or damaged: what the records still lead
// to is read, the block files and metadata files are searched for the rest,
// and the reader says the map is damaged.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "core/cache/byte_order.h"
#include "core/cache/mozilla/disk_cache.h"
#include "tests/core/cache/mozilla_site_check.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

struct Damage {
    const char* name;
    std::function<void(const std::string& mapPath)> apply;
    const char* what;      // the damage the warning names
    bool blockBodiesKept;  // the records still lead to bodies in block runs
};

void EditMap(const std::string& path, std::size_t at, std::uint32_t value) {
    std::string bytes = ReadBytes(path);
    PutBig32(bytes, at, value);
    WriteBytes(path, bytes);
}

class DamagedMaps : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedMaps, ReadsWhatIsThereAndSaysSo) {
    TempDir dir;
    WriteMozillaCache(dir.path(), SampleSite(), MapVersion(19));
    GetParam().apply(dir / "_CACHE_MAP_");
    NullProgress progress;
    const mozilla::DiskCache cache = mozilla::ReadDiskCache(dir.path(), progress);
    EXPECT_FALSE(cache.mapSound);
    ASSERT_FALSE(cache.warnings.empty());
    const Warning& w = cache.warnings.front();
    EXPECT_EQ(w.text, dir.path() + "_CACHE_MAP_ is damaged (" + GetParam().what + "); " +
                            std::to_string(SampleSite().size()) +
                            " entries could be read, some may be missing");
    std::vector<const StoredEntry*> entries;
    for (const auto& e : cache.entries) entries.push_back(&e.entry);
    if (GetParam().blockBodiesKept) {
        ExpectSampleSite(entries);
        return;
    }
    // Every entry is found; bodies in block runs cannot be placed, those in files of their own can.
    ASSERT_EQ(entries.size(), SampleSite().size());
    for (const StoredEntry* e : entries) {
        const bool ownFile = e->dataSize > 16384;
        EXPECT_EQ(e->body.Missing(), !ownFile || e->address.find("gone.js") != std::string::npos)
            << e->address;
        if (ownFile && !e->body.Missing()) {
            EXPECT_EQ(ReadStoredBodyBytes(e->body).size(), e->dataSize);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedMaps,
    ::testing::Values(
        Damage{"Missing", [](const std::string& p) { std::remove(p.c_str()); }, "it is missing", false},
        Damage{"Dirty", [](const std::string& p) { EditMap(p, 12, 1); }, "the dirty flag is set", true},
        Damage{"CountsDisagree", [](const std::string& p) { EditMap(p, 8, 99); },
               "it counts 99 entries but holds 9", true},
        Damage{"Short", [](const std::string& p) { WriteBytes(p, ReadBytes(p).substr(0, 276)); },
               "shorter than its 512 records, it counts 9 entries but holds 0, its bucket counts disagree "
               "with its "
               "records",
               false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DamagedMaps, EarlyMapWithoutItStillFindsEntries) {
    TempDir dir;
    MozillaCacheOptions options = MapVersion(5);
    options.writeMap = false;
    WriteMozillaCache(dir.path(), SampleSite(), options);
    NullProgress progress;
    const mozilla::DiskCache cache = mozilla::ReadDiskCache(dir.path(), progress);
    EXPECT_EQ(cache.entries.size(), SampleSite().size());
    EXPECT_EQ(cache.version, 5u);
    EXPECT_EQ(cache.warnings.front().code, WarningCode::IndexDamaged);
}

TEST(DamagedMaps, AnOlderCopyOfAnEntryGivesWayToTheNewer) {
    TempDir dir;
    std::vector<WebObject> site = SampleSite();
    WebObject older = site[0];
    older.lastFetched -= 500;
    site.push_back(older);  // an earlier fetch whose blocks were freed but not overwritten
    MozillaCacheOptions options = MapVersion(19);
    options.writeMap = false;
    WriteMozillaCache(dir.path(), site, options);
    NullProgress progress;
    const mozilla::DiskCache cache = mozilla::ReadDiskCache(dir.path(), progress);
    EXPECT_EQ(cache.entries.size(), SampleSite().size());
    for (const auto& e : cache.entries) {
        if (e.entry.address != older.address) continue;
        EXPECT_EQ(e.entry.lastFetched, site[0].lastFetched);
    }
}

}  // namespace
}  // namespace restash::test
