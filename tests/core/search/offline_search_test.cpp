// The offline search over a small offline root (tests/data/search/offline):
// the results page byte for byte, the closing messages, cancelling, and
// what it refuses to do.
#include "core/search/offline_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/index/title_charset.h"
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

// The typed word (UTF-8) is looked for in each page written in the charset
// its META declares, else windows-1252; a page in whose charset the word
// cannot be written does not hold it. The results page is UTF-8 when a title
// or the word does not fit windows-1252.
TEST(OfflineSearchCharsets, FindsTheWordInEachPagesOwnCharset) {
    TempDir dir;
    const std::string offline = dir / "OFFLINE/";
    const std::pair<const char*, std::string> pages[] = {
        {"LATIN.HTM", "<TITLE>Caf\xE9</TITLE>cr\xE8me br\xFBl\xE9" "e"},
        {"UTF8.HTM", "<META charset=\"utf-8\"><TITLE>U</TITLE>cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e"},
        {"KOI8.HTM", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=koi8-r\">\xED\xC9\xD2 cr\xE8me"},
        {"EURO.HTM", "<TITLE>\x80 5</TITLE>\x80 5"},
    };
    std::string list;
    for (const auto& [name, bytes] : pages) {
        WriteBytes(offline + name, bytes);
        list += std::string("http://h.example/") + name + "\r\n" + name + "\r\n" + name + "\r\n";
    }
    WriteBytes(offline + "HTMLIST", list);
    WriteBytes(offline + "RESULTS.RSH", "");
    RecordingProgress progress;
    RecordingMessages messages;
    const auto found = [&](const std::string& word) {
        const SearchResult r = SearchOfflinePages(offline, word, {RealFileSystem(), progress, messages, nullptr});
        std::vector<std::string> paths;
        for (const CopiedFile& hit : r.hits) paths.push_back(hit.path);
        return paths;
    };
    using Paths = std::vector<std::string>;
    EXPECT_EQ(found("cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e"), (Paths{"LATIN.HTM", "UTF8.HTM"}));
    EXPECT_EQ(found("cr\xC3\xA8me"), (Paths{"LATIN.HTM", "UTF8.HTM"}));  // koi8-r has no \xE8 letter
    EXPECT_EQ(found("\xD0\x9C\xD0\xB8\xD1\x80"), Paths{"KOI8.HTM"});
    EXPECT_EQ(found("\xE2\x82\xAC 5"), Paths{"EURO.HTM"});
    // A word typed in Latin-1 (not UTF-8) is read as Latin-1.
    EXPECT_EQ(found("cr\xE8me"), (Paths{"LATIN.HTM", "UTF8.HTM"}));
    const std::string results = ReadBytes(offline + "RESULTS.RSH");
    EXPECT_EQ(results.find(TitleCharset::kDeclaration), std::string::npos) << "every title and word fit windows-1252";
    found("\xD0\x9C\xD0\xB8\xD1\x80");
    EXPECT_EQ(ReadBytes(offline + "RESULTS.RSH").rfind(TitleCharset::kDeclaration, 0), 0u);
}

}  // namespace
}  // namespace restash::test
