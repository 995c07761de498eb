// The offline search over a small offline root (tests/data/search/offline):
// the results page byte for byte, the closing messages, cancelling, and
// what it refuses to do.
#include "core/search/offline_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/error.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

const char* const kFoundMessage =
    "Use the 'View Offline Index' button\rto display the Restash index, and\r'Search Page' to view the results.";

std::string Data(const std::string& relative) {
    return ReadBytes(std::string(RESTASH_SOURCE_DIR) + "/tests/data/search/" + relative);
}

class OfflineSearch : public ::testing::Test {
protected:
    void SetUp() override {
        offline = dir / "OFFLINE/";
        std::filesystem::copy(std::string(RESTASH_SOURCE_DIR) + "/tests/data/search/offline", offline);
        WriteBytes(offline + "RESULTS.RSH", "the placeholder\r\n");
    }
    SearchResult Search(const std::string& text, FileSystem& fs = RealFileSystem()) {
        return SearchOfflinePages(offline, text, {fs, progress, messages, [this](std::uint64_t read, std::uint64_t found) {
                                                      counts.emplace_back(read, found);
                                                  }});
    }
    std::string Results() const { return ReadBytes(offline + "RESULTS.RSH"); }

    TempDir dir;
    std::string offline;
    RecordingProgress progress;
    RecordingMessages messages;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> counts;
};

TEST_F(OfflineSearch, ListsThePagesWhoseTextHoldsTheString) {
    const SearchResult result = Search("offline");
    EXPECT_EQ(Results(), Data("expected/hits.RSH"));
    EXPECT_TRUE(result.searched);
    EXPECT_EQ(result.ending, Ending::Finished);
    EXPECT_EQ(result.searchText, "OFFLINE");
    ASSERT_EQ(result.hits.size(), 2u);
    EXPECT_EQ(result.hits[0].path, "INDEX.HTM");
    EXPECT_EQ(result.hits[1].title.size(), 60u);  // the whole title; only the page cuts it
    EXPECT_EQ(result.pagesRead, 5u);
    EXPECT_EQ(result.pagesFound, 2u);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kFoundMessage});
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Information);
    // One "process messages" point and one count per page that exists; the
    // missing GONE.HTM is counted as read but reported with the next page.
    EXPECT_EQ(progress.processCalls, 4);
    EXPECT_EQ(counts, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1, 1}, {3, 2}, {4, 2}, {5, 2}}));
}

TEST_F(OfflineSearch, SaysSoWhenNothingIsFound) {
    const SearchResult result = Search("xyzzy");
    EXPECT_EQ(Results(), Data("expected/none.RSH"));
    EXPECT_TRUE(result.searched);
    EXPECT_EQ(result.ending, Ending::Finished);
    EXPECT_TRUE(result.hits.empty());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"XYZZY was not found."});
}

TEST_F(OfflineSearch, FindsAWordAcrossTheFirstWindowBoundary) {
    const SearchResult result = Search("needle");
    EXPECT_EQ(Results(), Data("expected/straddle.RSH"));
    EXPECT_EQ(result.pagesFound, 1u);
}

TEST_F(OfflineSearch, CancelEndsAfterThePageAtHandWithoutAMessage) {
    progress.stopAt = 1;  // the answer heard when the first page is opened
    SearchResult result = Search("offline");
    EXPECT_EQ(Results(), Data("expected/cancelled.RSH"));
    EXPECT_EQ(result.ending, Ending::Stopped);
    EXPECT_EQ(result.pagesRead, 1u);
    EXPECT_EQ(result.hits.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());

    progress = {};
    progress.stopAt = 1;
    result = Search("xyzzy");
    EXPECT_EQ(Results(), Data("expected/cancelled-none.RSH"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OfflineSearch, AStringUnderTwoCharactersDoesNothing) {
    for (const char* text : {"", "o"}) {
        const SearchResult result = Search(text);
        EXPECT_FALSE(result.searched);
        EXPECT_EQ(Results(), "the placeholder\r\n");
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(progress.processCalls, 0);
}

TEST_F(OfflineSearch, NamesOutsideTheOfflineRootAreNotOpened) {
    WriteBytes(dir / "SECRET.HTM", "offline secret");
    WriteBytes(offline + "HTMLIST", "http://x/\r\nUp\r\n../SECRET.HTM\r\nhttp://y/\r\nAbs\r\n" + dir / "SECRET.HTM" + "\r\n");
    const SearchResult result = Search("secret");
    EXPECT_EQ(result.pagesRead, 2u);
    EXPECT_EQ(result.pagesFound, 0u);
    EXPECT_EQ(progress.processCalls, 0);
}

// Fails the results file at its first write, as a full disk would.
class FullDisk final : public FileSystem {
public:
    std::unique_ptr<OutputFile> Create(const std::string& path) override { throw FileError(path, "Disk full"); }
    std::unique_ptr<OutputFile> Append(const std::string& path) override { throw FileError(path, "Disk full"); }
    void Rename(const std::string& from, const std::string& to) override { RealFileSystem().Rename(from, to); }
    void Remove(const std::string& path) override { RealFileSystem().Remove(path); }
    void CopyFile(const std::string& from, const std::string& to) override { RealFileSystem().CopyFile(from, to); }
    void CreateDirectories(const std::string& path) override { RealFileSystem().CreateDirectories(path); }
    void RemoveDirectory(const std::string& path) override { RealFileSystem().RemoveDirectory(path); }
};

TEST_F(OfflineSearch, FailuresNameTheFileAndKeepTheOldResults) {
    FullDisk full;
    EXPECT_THROW(Search("offline", full), FileError);
    EXPECT_EQ(Results(), "the placeholder\r\n");
    EXPECT_TRUE(messages.shown.empty());

    std::filesystem::remove(offline + "HTMLIST");
    try {
        Search("offline");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), offline + "HTMLIST");
    }
    EXPECT_EQ(Results(), "the placeholder\r\n");
}

TEST(ListedPages, AreTheLinesOfTheListDividedByThree) {
    TempDir dir;
    std::string list;
    for (int i = 0; i < 30; ++i) list += "line\r\n";
    WriteBytes(dir / "HTMLIST", list);
    EXPECT_EQ(CountListedPages(dir.path()), 10u);
    WriteBytes(dir / "HTMLIST", list + "a\r\nb");  // a last line without its end counts
    EXPECT_EQ(CountListedPages(dir.path()), 10u);
    WriteBytes(dir / "HTMLIST", list + "a\r\nb\r\nc");
    EXPECT_EQ(CountListedPages(dir.path()), 11u);
}

}  // namespace
}  // namespace restash::test
