// Deleting entries from a disk cache keeps it whole: the rest read back as
// before through a sound map, the deleted ones are gone with their blocks
// and files, and nothing is deleted when that cannot be done safely.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/cache/mozilla/block_bitmap.h"
#include "core/cache/mozilla/delete_entries.h"
#include "core/platform/error.h"
#include "core/platform/file_system.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

using mozilla::DiskCache;

DiskCache Read(const TempDir& dir) {
    NullProgress progress;
    return mozilla::ReadDiskCache(dir.path(), progress);
}

std::size_t IndexOf(const DiskCache& cache, const std::string& suffix) {
    for (std::size_t i = 0; i < cache.entries.size(); ++i)
        if (cache.entries[i].entry.address.ends_with(suffix)) return i;
    return cache.entries.size();
}

class DeleteFromLayouts : public ::testing::TestWithParam<unsigned> {};

TEST_P(DeleteFromLayouts, RestStaysWholeDeletedAreGone) {
    TempDir dir;
    WriteMozillaCache(dir.path(), SampleSite(), MapVersion(GetParam()));
    const DiskCache before = Read(dir);
    ASSERT_EQ(mozilla::WhyDeletionIsUnsafe(before), "");
    const std::size_t page = IndexOf(before, "index.html"), big = IndexOf(before, "big.js");
    const BodyLocation pageBody = before.entries[page].entry.body, bigBody = before.entries[big].entry.body;
    const auto result = mozilla::DeleteDiskCacheEntries(before, {page, big}, RealFileSystem());
    EXPECT_EQ(result.entriesRemoved, 2u);
    EXPECT_EQ(result.filesRemoved, 1u);  // big.js's data file
    EXPECT_FALSE(FileExists(bigBody.path));

    const DiskCache after = Read(dir);
    EXPECT_TRUE(after.mapSound) << (after.warnings.empty() ? "" : after.warnings[0].text);
    EXPECT_EQ(after.entries.size(), before.entries.size() - 2);
    EXPECT_EQ(IndexOf(after, "index.html"), after.entries.size());
    for (const auto& e : after.entries) {
        const auto old = std::find_if(before.entries.begin(), before.entries.end(),
                                      [&](const auto& b) { return b.entry.address == e.entry.address; });
        ASSERT_NE(old, before.entries.end());
        if (!e.entry.body.Missing()) {
            EXPECT_EQ(ReadStoredBodyBytes(e.entry.body), ReadStoredBodyBytes(old->entry.body));
        }
    }
    // The page's blocks are zeroed and free again.
    const std::string block = ReadBytes(pageBody.path);
    EXPECT_EQ(block.substr(pageBody.offset, pageBody.length), std::string(pageBody.length, '\0'));
    const auto layout =
        GetParam() <= 5 ? mozilla::BitmapLayout::Bytes : mozilla::BitmapLayout::BigEndianWords;
    EXPECT_FALSE(mozilla::BlockInUse(block, pageBody.firstBlock, layout));
}

INSTANTIATE_TEST_SUITE_P(MapVersions, DeleteFromLayouts, ::testing::Values(5u, 8u, 19u));

TEST(DeleteFromDiskCache, RefusedWithADamagedMapOrABitmapOutOfStep) {
    TempDir dirty, stray;
    MozillaCacheOptions dirtyMap = MapVersion(19);
    dirtyMap.dirty = true;
    WriteMozillaCache(dirty.path(), SampleSite(), dirtyMap);
    WriteMozillaCache(stray.path(), SampleSite(), MapVersion(19));
    WriteBytes(stray / "_CACHE_001_",
               std::string(16384, '\0') + ReadBytes(stray / "_CACHE_001_").substr(16384));
    for (const TempDir* dir : {&dirty, &stray}) {
        const DiskCache cache = Read(*dir);
        const std::string map = ReadBytes(*dir / "_CACHE_MAP_");
        EXPECT_NE(mozilla::WhyDeletionIsUnsafe(cache), "");
        EXPECT_THROW(mozilla::DeleteDiskCacheEntries(cache, {0}, RealFileSystem()), Error);
        EXPECT_EQ(ReadBytes(*dir / "_CACHE_MAP_"), map);
    }
}

}  // namespace
}  // namespace restash::test
