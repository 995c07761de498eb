#include <gtest/gtest.h>

#include "core/cache/netscape_source.h"
#include "tests/core/jobs/delete_fixture.h"

namespace restash::test {
namespace {

CacheEntry HandEntry(const std::string& domain, const std::string& file, Category category = Category::Text) {
    CacheEntry e;
    e.Stamp = kOldStamp;
    e.Domain = domain;
    e.Url = "http://" + domain + "/" + file;
    e.Body.Name = file;
    e.category = category;
    return e;
}

std::vector<std::string> FileNames(const CacheEntryList& entries) {
    std::vector<std::string> names;
    for (const CacheEntry& e : entries) names.push_back(e.Body.Name);
    return names;
}

TEST(DeleteFromHashIndex, RemovesTheFilesAndEntriesAndLeavesTheIndexFile) {
    DeleteFixture f;
    f.fatName = "FAT.DB";
    const std::vector<NsObject> objects = {
        Obj("http://a.com/", "A1.HTM", "text/html"),          Obj("http://a.com/p.gif", "A2.GIF", "image/gif"),
        Obj("http://a.com/z.zip", "A3.ZIP", "application/zip"), Obj("http://b.com/", "B1.HTM", "text/html"),
        Obj("http://c.com/", "C1.HTM", "text/html"),          Obj("http://c.com/q.jpg", "C2.JPG", "image/jpeg")};
    WriteHashCache(f.cache, objects);
    const std::string before = ReadBytes(f.IndexPath());
    f.Open(IndexFormat::HashIndex);
    ASSERT_EQ(f.model.Entries().size(), objects.size());
    f.Unchoose("b.com");

    f.messages.Answer(Answer::Yes);
    const long callsBefore = f.progress.processCalls;
    const Deleted s = f.Delete();
    EXPECT_TRUE(s.deleted);
    // Five of six entries go, so selected entries sit next to each other in
    // the list whatever order the reader gives.
    EXPECT_EQ(s.entriesRemoved, 5u);
    EXPECT_EQ(s.filesDeleted, 5u);
    EXPECT_EQ(ReadBytes(f.IndexPath()), before);
    for (const NsObject& o : objects) EXPECT_EQ(FileExists(f.cache + o.fileName), o.fileName == "B1.HTM") << o.fileName;
    EXPECT_EQ(FileNames(f.model.Entries()), (std::vector<std::string>{"B1.HTM"}));
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"b.com"}));
    EXPECT_TRUE(f.model.Available().empty());
    EXPECT_EQ(f.model.Counts().text, 1u);
    // One "process messages" point for the walk, two for the counts.
    EXPECT_EQ(f.progress.processCalls - callsBefore, 3);
    ASSERT_GE(f.progress.busy.size(), 2u);
    EXPECT_EQ(f.progress.busy[f.progress.busy.size() - 2].caption, "Deleting Selection From Fat...");
    EXPECT_EQ(f.progress.busy.back().caption, "Processing Cache Index. Please Wait.");
    EXPECT_FALSE(f.progress.busy.back().on);
    EXPECT_FALSE(FileExists(f.TempFat()));

    // The next read does not list them again.
    CacheEntryList reread;
    NullProgress quiet;
    NetscapeHashSource(f.IndexPath()).Read(reread, quiet);
    EXPECT_EQ(FileNames(reread), (std::vector<std::string>{"B1.HTM"}));
}

TEST(DeleteFromHashIndex, TheWalkRemovesAdjacentEntriesAndNeverLeavesTheCacheFolder) {
    DeleteFixture f;
    for (const char* name : {"S1.HTM", "S2.HTM", "K1.HTM", "S4.HTM", "K2.GIF"}) WriteBytes(f.cache + name, name);
    WriteBytes(f.dir / "outside.txt", "not the cache's");
    const CacheEntryList entries = {
        HandEntry("sel.com", "S1.HTM"),          HandEntry("sel.com", "S2.HTM"),
        HandEntry("keep.com", "K1.HTM"),         HandEntry("sel.com", "S3.HTM"),  // its file is already gone
        HandEntry("SEL.com", "S4.HTM"),          HandEntry("sel.com", "../outside.txt"),
        HandEntry("sel.com", f.dir / "outside.txt"), HandEntry("sel.com", "K2.GIF", Category::Media),
    };
    f.OpenHashEntries(entries);
    f.Unchoose("keep.com");
    f.model.SetTypeIncluded(Category::Media, false);

    f.messages.Answer(Answer::Yes);
    const Deleted s = f.Delete();
    EXPECT_EQ(s.entriesRemoved, 6u);
    EXPECT_EQ(s.filesDeleted, 3u);
    EXPECT_EQ(FileNames(f.model.Entries()), (std::vector<std::string>{"K1.HTM", "K2.GIF"}));
    EXPECT_TRUE(FileExists(f.dir / "outside.txt"));
    EXPECT_TRUE(FileExists(f.cache + "K1.HTM"));
    EXPECT_TRUE(FileExists(f.cache + "K2.GIF"));
    for (const char* name : {"S1.HTM", "S2.HTM", "S4.HTM"}) EXPECT_FALSE(FileExists(f.cache + name)) << name;
    // Rebuilt: every domain that still has entries is chosen again.
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"keep.com", "sel.com"}));
}

TEST(DeleteFromHashIndex, AnsweringNoRebuildsTheLists) {
    DeleteFixture f;
    WriteBytes(f.cache + "A1.HTM", "a");
    WriteBytes(f.cache + "B1.HTM", "b");
    f.OpenHashEntries({HandEntry("a.com", "A1.HTM"), HandEntry("b.com", "B1.HTM")});
    f.Unchoose("b.com");
    f.messages.Answer(Answer::No);
    EXPECT_FALSE(f.Delete().deleted);
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{kDeleteQuestion}));
    EXPECT_TRUE(f.model.Available().empty());
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"a.com", "b.com"}));
    EXPECT_TRUE(FileExists(f.cache + "A1.HTM"));

    // With everything chosen, the whole-cache warning; Cancel also rebuilds.
    f.Unchoose("a.com");
    f.messages.Answer(Answer::Cancel);
    f.model.ChooseAll();
    EXPECT_FALSE(f.Delete().deleted);
    EXPECT_EQ(f.messages.shown.back().text, kDeleteWholeCacheQuestion);
    EXPECT_EQ(f.model.Entries().size(), 2u);
}

}  // namespace
}  // namespace restash::test
