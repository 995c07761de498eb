// The run reads bodies only through the cache's source: a source whose bodies
// are no plain files (kept in memory here, as a format that keeps them inside
// larger files would) is uncached like Netscape's own cache.
#include <gtest/gtest.h>

#include "tests/support/memory_cache.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

TEST(UncacheRunSource, BodiesThatAreNoPlainFilesAreCopiedAndConverted) {
    RunFixture f;
    const std::string picture(200000, 'p');  // more than one piece of the stream copy
    auto cache = std::make_shared<MemoryCache>(
        CacheEntryList{MemoryEntry("http://m.example/", "text/html", 852000000, "PAGE"),
                       MemoryEntry("http://m.example/pic.gif", "image/gif", 852000000, "PIC"),
                       MemoryEntry("http://m.example/bad.gif", "image/gif", 852000000, "BAD"),
                       MemoryEntry("http://m.example/gone.zip", "application/zip", 852000000, "GONE")},
        IndexFormat::HashIndex);
    cache->bodies = {{"PAGE", "<TITLE>M</TITLE><IMG SRC=pic.gif><IMG SRC=bad.gif>"}, {"PIC", picture}};
    cache->unreadable = {{"BAD", ""}};
    cache->entries.back().Body.Present = false;
    f.source = cache;
    f.format = IndexFormat::HashIndex;
    NullProgress quiet;
    ASSERT_EQ(cache->Read(f.entries, quiet).ending, Ending::Finished);
    ASSERT_EQ(f.entries.size(), 3u) << "the entry without a body is not listed";
    f.SelectAll();

    const RunOutcome outcome = f.RunAnswering(Answer::No);

    EXPECT_EQ(f.Read("MEDIA/PIC.GIF"), picture);
    EXPECT_EQ(f.Read("MEXAMPLE.HTM"), "<TITLE>M</TITLE><IMG SRC=MEDIA/PIC.GIF><IMG SRC=MEDIA/NOTFOUND.GIF>");
    EXPECT_FALSE(FileExists(f.Offline("MEDIA/BAD.GIF"))) << "no partial copy stays";
    ASSERT_EQ(outcome.copyFailures.size(), 1u);
    EXPECT_EQ(outcome.copyFailures[0].what, "memory:BAD: I/O error 5");
    EXPECT_EQ(outcome.copyFailures[0].url, "http://m.example/bad.gif");
    EXPECT_EQ(outcome.filesCopied, 2u);
}

}  // namespace
}  // namespace restash::test
