// The Mozilla-family caches behind the cache-source seam, named by a profile
// folder: every sample object with a body listed exactly once with its
// address, MIME type and kind; its body found again as stored and as a
// browser shows it; deletion only where it is safe.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "core/cache/browsable_body.h"
#include "core/cache/cache_source.h"
#include "core/platform/error.h"
#include "core/platform/file_system.h"
#include "tests/support/cache2_writer.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/netscape6_writer.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

struct Format {
    const char* name;
    IndexFormat format;
    std::function<void(const std::string& profile)> write;
    bool listsAbsent;  // a missing body leaves an entry to list (cache2 keeps no entry without its file)
    bool statusLine = true;  // the stored head starts with the status line (Netscape 6.0 kept only the headers)
};

std::vector<Format> Formats() {
    const auto disk = [](unsigned minor) {
        return [minor](const std::string& p) { WriteMozillaCache(p + "/Cache", SampleSite(), MapVersion(minor)); };
    };
    return {
        {"map1_5", IndexFormat::MozillaDisk, disk(5), true},
        {"map1_8", IndexFormat::MozillaDisk, disk(8), true},
        {"map1_11", IndexFormat::MozillaDisk, disk(11), true},
        {"map1_19", IndexFormat::MozillaDisk, disk(19), true},
        {"cache2", IndexFormat::Cache2, [](const std::string& p) { WriteCache2(p + "/cache2", SampleSite()); },
         false},
        {"netscape6", IndexFormat::Netscape6, [](const std::string& p) { WriteNetscape6Cache(p + "/NewCache", SampleSite()); },
         true, false},
    };
}

std::string Whole(std::streambuf& in) {
    std::string bytes;
    for (int c = in.sbumpc(); c != std::char_traits<char>::eof(); c = in.sbumpc()) bytes += static_cast<char>(c);
    return bytes;
}

class FamilySource : public ::testing::TestWithParam<Format> {
protected:
    TempDir dir;
    NullProgress progress;
};

TEST_P(FamilySource, ListsEveryBodyOnceAndFindsItAgain) {
    GetParam().write(dir.path());
    const auto source = OpenCacheSource(dir.path());
    EXPECT_EQ(source->Traits().format, GetParam().format);
    EXPECT_FALSE(source->Traits().family.empty());
    EXPECT_TRUE(FileExists(source->LockFile()) || std::filesystem::is_directory(source->LockFile()));
    CacheEntryList entries;
    const CacheRead read = source->Read(entries, progress);
    EXPECT_EQ(read.ending, Ending::Finished);

    std::map<std::string, const CacheEntry*> listed;
    for (const CacheEntry& e : entries) EXPECT_TRUE(listed.emplace(e.Url, &e).second) << e.Url << " twice";
    const auto bodies = source->Bodies();
    for (const WebObject& o : SampleSite()) {
        SCOPED_TRACE(o.address);
        if (o.bodyMissing) {
            EXPECT_EQ(listed.count(o.address), 0u);
            continue;
        }
        ASSERT_EQ(listed.count(o.address), 1u);
        const CacheEntry& e = *listed[o.address];
        EXPECT_EQ(e.MimeType, o.mimeType);
        EXPECT_EQ(e.category, ClassifyMimeType(o.mimeType));
        EXPECT_EQ(e.Stamp, static_cast<std::int32_t>(o.lastFetched));
        // Only a head with its status line and a header line makes a response record.
        const bool headed = GetParam().statusLine && o.responseHead.find("\r\n") + 2 < o.responseHead.size();
        EXPECT_EQ(e.ResponseHead, headed ? std::optional(o.responseHead) : std::nullopt);
        const auto body = bodies->Find(e);
        ASSERT_TRUE(body);
        EXPECT_EQ(Whole(*body->Open()), o.body);
        EXPECT_EQ(Whole(*OpenBrowsable(*body)), o.decoded);
    }
    CacheEntryList all;
    source->Read(all, progress, {true});
    EXPECT_EQ(all.size(), entries.size() + (GetParam().listsAbsent ? 1 : 0));
}

TEST_P(FamilySource, RemovesOnlyFromASoundDiskCache) {
    GetParam().write(dir.path());
    const auto source = OpenCacheSource(dir.path());
    CacheEntryList entries;
    source->Read(entries, progress);
    const std::string why = source->WhyRemovalIsRefused();
    if (GetParam().format != IndexFormat::MozillaDisk) {
        EXPECT_NE(why.find("cannot be deleted"), std::string::npos) << why;
        EXPECT_THROW(source->Remove(entries, [](const CacheEntry&) { return true; }, dir.path(), RealFileSystem(),
                                    progress),
                     Error);
        return;
    }
    ASSERT_EQ(why, "");
    const auto chosen = [](const CacheEntry& e) { return e.Url.ends_with("/index.html") || e.Url.ends_with(".js"); };
    const Removal removal = source->Remove(entries, chosen, dir.path(), RealFileSystem(), progress);
    EXPECT_EQ(removal.entriesRemoved, 2u);
    EXPECT_TRUE(removal.failures.empty());
    CacheEntryList after;
    const CacheRead read = source->Read(after, progress);
    // The map is sound still: the one warning is the body the writer left out.
    for (const Warning& w : read.warnings) EXPECT_EQ(w.code, WarningCode::BodyMissing) << w.text;
    EXPECT_EQ(after.size(), entries.size() - 2);
    for (const CacheEntry& e : after) EXPECT_FALSE(chosen(e)) << e.Url;
}

INSTANTIATE_TEST_SUITE_P(Formats, FamilySource, ::testing::ValuesIn(Formats()),
                         [](const auto& info) { return std::string(info.param.name); });

// Without the map a body in a block file cannot be placed: its entry is
// listed as absent; a body in a file of its own is found by its key's hash.
TEST(FamilySourceDamage, ADiskCacheWithoutItsMapListsItsEntriesWithAWarningAndRefusesDeletion) {
    TempDir dir;
    MozillaCacheOptions options = MapVersion(19);
    options.writeMap = false;
    WriteMozillaCache(dir / "Cache", SampleSite(), options);
    const auto source = OpenCacheSource(dir / "Cache");
    NullProgress progress;
    CacheEntryList all, present;
    const CacheRead read = source->Read(all, progress, {true});
    EXPECT_FALSE(read.warnings.empty());
    std::map<std::string, int> seen;
    for (const CacheEntry& e : all) ++seen[e.Url];
    for (const WebObject& o : SampleSite()) EXPECT_EQ(seen[o.address], 1) << o.address;
    source->Read(present, progress);
    ASSERT_FALSE(present.empty());
    const auto bodies = source->Bodies();
    for (const CacheEntry& e : present) EXPECT_TRUE(bodies->Find(e)) << e.Url;
    EXPECT_NE(source->WhyRemovalIsRefused(), "");
}

TEST(FamilySourceDamage, AnEntryListOfAnotherReadIsNotFoundNorRemoved) {
    TempDir dir;
    WriteMozillaCache(dir / "Cache", SampleSite(), MapVersion(19));
    const auto source = OpenCacheSource(dir / "Cache/_CACHE_MAP_");
    NullProgress progress;
    CacheEntryList entries;
    source->Read(entries, progress);
    CacheEntry stranger = entries.front();
    stranger.Url = "http://elsewhere.example/";
    EXPECT_EQ(source->Bodies()->Find(stranger), nullptr);
    CacheEntryList others{stranger};
    EXPECT_THROW(source->Remove(others, [](const CacheEntry&) { return true; }, dir.path(), RealFileSystem(), progress),
                 Error);
}

TEST(FamilySourceDamage, AFolderWithoutACacheIsAFileErrorNamingIt) {
    TempDir dir;
    WriteBytes(dir / "readme.txt", "nothing");
    EXPECT_FALSE(CacheIsThere(dir.path()));
    try {
        OpenCacheSource(dir.path());
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.path());
    }
}

}  // namespace
}  // namespace restash::test
