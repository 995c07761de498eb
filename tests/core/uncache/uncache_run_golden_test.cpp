// Two small whole runs, one of each cache form, compared byte for byte with
// the expected offline tree under tests/data/uncache/<case>/expected/ (and,
// for the text form, the rewritten history file). The pages of each cache are
// the files in <case>/input/.
//
// To write the expected files anew after a deliberate change, run with
// RESTASH_UPDATE_GOLDEN=1 and read every changed byte before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <filesystem>

#include "tests/support/cache2_writer.h"
#include "tests/support/gif.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/netscape6_writer.h"
#include "tests/support/sample_files.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

bool Updating() { return std::getenv("RESTASH_UPDATE_GOLDEN") != nullptr; }

// The offline root in the history records differs per run; the expected
// file names it by this mark.
constexpr const char* kOfflineMark = "@OFFLINE@/";

std::string WithMark(std::string bytes, const std::string& offlineDir) {
    for (std::size_t at = bytes.find(offlineDir); at != std::string::npos; at = bytes.find(offlineDir, at))
        bytes.replace(at, offlineDir.size(), kOfflineMark);
    return bytes;
}

std::string Input(const std::string& testCase, const std::string& name) {
    return ReadBytes(DataPath("uncache/" + testCase + "/input/" + name));
}

// The run's tree less the support images, which are checked on their own.
std::map<std::string, std::string> RunTree(const std::string& offlineDir) {
    auto tree = TreeOf(offlineDir);
    for (const char* image : kSupportImages) tree.erase(std::string("MEDIA/") + image);
    return tree;
}

void CompareTree(const std::string& testCase, const std::map<std::string, std::string>& actual) {
    const std::string expectedDir = DataPath("uncache/" + testCase + "/expected/");
    if (Updating()) {
        std::filesystem::remove_all(expectedDir);
        for (const auto& [path, bytes] : actual) {
            std::filesystem::create_directories(std::filesystem::path(expectedDir + path).parent_path());
            WriteBytes(expectedDir + path, bytes);
        }
        return;
    }
    const auto expected = TreeOf(expectedDir);
    std::vector<std::string> expectedNames, actualNames;
    for (const auto& entry : expected) expectedNames.push_back(entry.first);
    for (const auto& entry : actual) actualNames.push_back(entry.first);
    ASSERT_EQ(actualNames, expectedNames);
    for (const auto& [path, bytes] : expected) EXPECT_EQ(actual.at(path), bytes) << path;
}

void CompareFile(const std::string& relative, const std::string& actual) {
    const std::string path = DataPath(relative);
    if (Updating()) return WriteBytes(path, actual);
    EXPECT_EQ(actual, ReadBytes(path)) << relative;
}

void ExpectSupportImagesFromProgramDir(const RunFixture& f) {
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(ReadBytes(f.Offline(std::string("MEDIA/") + kSupportImages[i])), RunFixture::SupportImageBytes(i))
            << kSupportImages[i];
}

// A hash-form cache of two sites: a frameset index, links of every kind
// (relative, "./", "../", "/", absolute with port 80, a fragment, a query,
// mailto, same-page, single-quoted, uncached), a BASE tag, an applet, a
// comment, a page without a title, short tags, media and other files.
TEST(UncacheRunGolden, HashFormWithFramesetIndex) {
    RunFixture f;
    const std::string c = "hash-small";
    f.HashCache({
        Object("http://www.alpha.example/", "text/html", Input(c, "alpha-index.html")),
        Object("http://www.alpha.example/docs/guide.html", "text/html", Input(c, "alpha-guide.html")),
        Object("http://www.alpha.example/search.cgi?q=1", "text/html", Input(c, "alpha-search.html")),
        Object("http://www.alpha.example/notes.txt", "text/plain", Input(c, "alpha-notes.txt")),
        Object("http://www.alpha.example/logo.gif", "image/gif", StripedGif(8, 4, 0x0000FF, 0xFFFFFF)),
        Object("http://www.alpha.example/files/data.zip", "application/x-zip-compressed",
               ZipWithOneFile("data.txt", "1,2,3\r\n")),
        Object("http://www.alpha.example/docs/Ticker.class", "application/java-vm", JavaClassStub("Ticker")),
        Object("http://beta.example/index.html", "text/html", Input(c, "beta-index.html")),
        Object("http://beta.example/sub/index.html", "text/html", Input(c, "beta-sub.html")),
        Object("http://beta.example/pic.jpg", "image/jpeg", StripedGif(6, 6, 0xFF0000, 0x00FF00)),
    });
    ASSERT_EQ(f.format, IndexFormat::HashIndex);
    ASSERT_EQ(f.entries.size(), 10u);
    WriteBytes(f.settings.HistPath, "http://www.alpha.example/\t1\r\n");

    const RunOutcome outcome = f.RunAnswering(Answer::No);

    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_EQ(outcome.pagesConverted, 5u);
    EXPECT_EQ(outcome.filesCopied, 10u);
    CompareTree(c, RunTree(f.settings.OfflineDir));
    ExpectSupportImagesFromProgramDir(f);
    // A hash-form cache leaves the history alone.
    EXPECT_EQ(ReadBytes(f.settings.HistPath), "http://www.alpha.example/\t1\r\n");
    EXPECT_FALSE(FileExists(TemporaryNameFor(f.settings.HistPath)));
}

// A text-form cache: the single-page index, the rewritten history (old
// records without the local ones, CR CR LF, one new record per reached
// offline file), the absolute address kept for uncached links, another
// emphasis tag, a user directory as the root of its own site, a title cut in
// the domain page, and two files of one name stored as NAME and NAME1.
TEST(UncacheRunGolden, TextFormWithPageIndexAndHistory) {
    RunFixture f;
    const std::string c = "text-small";
    f.settings.NotFoundURL = true;
    f.settings.Tag = "EM";
    f.TextCache({
        Object("http://www.gamma.example/", "text/html", Input(c, "gamma-index.html")),
        Object("http://www.gamma.example/news.html", "text/html", Input(c, "gamma-news.html")),
        Object("http://www.gamma.example/pics/sun.gif", "image/gif", StripedGif(5, 5, 0xFFD700, 0x87CEEB)),
        Object("http://www.gamma.example/readme.txt", "text/plain", Input(c, "gamma-readme.txt")),
        Object("http://delta.example/~ann/", "text/html", Input(c, "ann-home.html")),
        Object("http://delta.example/~ann/cv.html", "text/html", Input(c, "ann-cv.html")),
        Object("http://delta.example/~ann/sound.wav", "audio/x-wav", "RIFF\x04\0\0\0WAVE"),
        Object("http://delta.example/sound.wav", "audio/x-wav", "RIFF\x04\0\0\0WAVE-site"),
    });
    ASSERT_EQ(f.format, IndexFormat::TextIndex);
    WriteBytes(f.settings.HistPath, ReadBytes(DataPath("uncache/" + c + "/NETSCAPE.HST")));

    const RunOutcome outcome = f.RunAnswering(Answer::No);

    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_TRUE(f.messages.shown.size() >= 2) << "the question and the instructions";
    CompareTree(c, RunTree(f.settings.OfflineDir));
    ExpectSupportImagesFromProgramDir(f);
    CompareFile("uncache/" + c + "/NETSCAPE.HST.expected",
                WithMark(ReadBytes(f.settings.HistPath), f.settings.OfflineDir));
    EXPECT_FALSE(FileExists(TemporaryNameFor(f.settings.HistPath)));
}

// The sample site of the later browsers' caches, named by the profile folder:
// a frameset index; the gzip page copied decoded; the Latin-1 page declaring
// the charset its response head gave; the links between cached pages local.
struct FamilyCase {
    const char* name;  // the case's folder under tests/data/uncache
    std::function<void(const std::string& profile)> write;
};

class UncacheRunFamilyGolden : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(UncacheRunFamilyGolden, ConvertsTheSampleSite) {
    RunFixture f;
    const std::string profile = f.dir / "profile/";
    GetParam().write(profile);
    f.UseCache(profile, "");
    ASSERT_EQ(f.entries.size(), 8u);  // every object but the one whose body is missing

    const RunOutcome outcome = f.RunAnswering(Answer::No);

    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_EQ(outcome.pagesConverted, 5u);
    EXPECT_EQ(outcome.filesCopied, 8u);
    EXPECT_TRUE(outcome.undecoded.empty());
    const auto tree = RunTree(f.settings.OfflineDir);
    std::string news, home;
    for (const auto& [path, bytes] : tree) {
        if (bytes.find("<TITLE>News</TITLE>") != std::string::npos) news = bytes;
        if (bytes.find("<TITLE>Home</TITLE>") != std::string::npos) home = bytes;
    }
    EXPECT_EQ(news.rfind("<HTML><HEAD><TITLE>News</TITLE>", 0), 0u) << "the gzip page is copied decoded";
    // The home page's links to cached pages point at their copies.
    EXPECT_EQ(home.find("HREF=\"page2.html\""), std::string::npos) << home;
    EXPECT_EQ(home.find("http://www.example.com/"), std::string::npos) << home;
    CompareTree(GetParam().name, tree);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, UncacheRunFamilyGolden,
    ::testing::Values(
        FamilyCase{"mozilla-1.19", [](const std::string& p) { WriteMozillaCache(p + "Cache", SampleSite(), MapVersion(19)); }},
        FamilyCase{"cache2", [](const std::string& p) { WriteCache2(p + "cache2", SampleSite()); }},
        FamilyCase{"netscape6", [](const std::string& p) { WriteNetscape6Cache(p + "NewCache", SampleSite()); }}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

}  // namespace
}  // namespace restash::test
