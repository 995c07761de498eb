// The uncaching run's own cases: the offline tree it leaves, the names it
// gives, what it copies where, the end question and its window results.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/browser_bridge.h"
#include "tests/support/gif.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, bytes.size()) << "every line ends in CR LF";
    return lines;
}

// The local names of the page list, in order.
std::vector<std::string> PageNames(const RunFixture& f) {
    const auto lines = Lines(f.Read("HTMLIST"));
    std::vector<std::string> names;
    for (std::size_t i = 2; i < lines.size(); i += 3) names.push_back(lines[i]);
    return names;
}

std::string Page(const std::string& body) { return "<HTML><BODY>\r\n" + body + "\r\n</BODY></HTML>\r\n"; }

const std::vector<std::string> kSupportNames{"DOMAINDN.GIF", "DOMAINUP.GIF", "INDEX.GIF",   "INFO.GIF",
                                             "I_BUTTON.GIF", "NOTFOUND.GIF", "RESTASH.GIF", "RESULTS.GIF",
                                             "RIGHT.GIF",    "SITELOGO.GIF"};

TEST(UncacheRunTree, NothingSelectedEmptiesTheTreeAndWritesAnIndexWithoutDomains) {
    RunFixture f;
    f.HashCache({Object("http://a.example/", "text/html", "<TITLE>A</TITLE>")});
    // What an earlier run left, and a folder of the user's inside the root.
    for (const char* old : {"OLD.HTM", "0.RSH", "HTMINDEX.HTM", "MEDIA/OLD.GIF", "OTHERS/OLD.ZIP", "KEEP/MINE.TXT"}) {
        std::filesystem::create_directories(std::filesystem::path(f.Offline(old)).parent_path());
        WriteBytes(f.Offline(old), "old");
    }
    f.selection.Domains = DomainSet{};

    const RunOutcome outcome = f.RunAnswering(Answer::No);

    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_EQ(FilesIn(f.settings.OfflineDir), (std::vector<std::string>{"BUTTONS.RSH", "DOMAINS.RSH", "HTMINDEX.HTM",
                                                                         "HTMLIST", "RESTASH.RSH", "RESULTS.RSH"}));
    EXPECT_EQ(FilesIn(f.Offline("MEDIA")), kSupportNames);
    EXPECT_TRUE(FilesIn(f.Offline("OTHERS")).empty());
    EXPECT_FALSE(std::filesystem::exists(f.Offline("TEMP")));
    EXPECT_EQ(f.Read("KEEP/MINE.TXT"), "old") << "subfolders are not emptied";
    EXPECT_EQ(f.Read("HTMLIST"), "");
    EXPECT_EQ(f.Read("DOMAINS.RSH"),
              "<HTML><BASE TARGET=PAGES><BODY BGCOLOR=#C0C0C0><CENTER>\r\n"
              "<TABLE BORDER=0 CELLPADDING=0>\r\n"
              "<TR><TH><FONT SIZE=+3>Domains</FONT></TH></TR></TABLE></CENTER></BODY></HTML>\r\n");
}

TEST(UncacheRunTree, SupportImagesComeFromTheProgramFolderFirst) {
    RunFixture f;
    f.HashCache({});
    f.RunAnswering(Answer::No);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(f.Read(std::string("MEDIA/") + kSupportImages[i]), RunFixture::SupportImageBytes(i));
}

TEST(UncacheRunTree, ASecondRunKeepsNothingOfTheFirst) {
    RunFixture f;
    f.TextCache({Object("http://a.example/one.html", "text/html", Page("one")),
                 Object("http://a.example/one.gif", "image/gif", StripedGif(2, 2, 0, 0xFFFFFF)),
                 Object("http://b.example/two.html", "text/html", Page("two"))});
    WriteBytes(f.settings.HistPath, "");
    f.RunAnswering(Answer::No);
    ASSERT_TRUE(FileExists(f.Offline("1.RSH")));
    WriteBytes(f.Offline("RESULTS.RSH"), "results of a search");

    f.selection.Domains = DomainSet({"b.example"});
    f.RunAnswering(Answer::No);

    EXPECT_EQ(FilesIn(f.settings.OfflineDir),
              (std::vector<std::string>{"0.RSH", "HTMINDEX.HTM", "HTMLIST", "RESULTS.RSH", "TWO.HTM"}));
    EXPECT_EQ(FilesIn(f.Offline("MEDIA")), kSupportNames);
    EXPECT_NE(f.Read("RESULTS.RSH"), "results of a search");
}

// Names in list order, the collision test per folder, and a "TEXT" type
// without a slash: of the Other kind, but stored in the root.
// A Netscape hash record's charset does not change the page's copy: only
// the later browsers' copies declare the charset their cache gave. The title
// keeps its letters above 126 (read as windows-1252, as the page names no
// other charset).
TEST(UncacheRunTree, ANetscapeCopyStaysAsStoredWhateverTheRecordsCharset) {
    RunFixture f;
    NsObject page = Object("http://h.example/", "text/html", "<HEAD><TITLE>Caf\xE9</TITLE></HEAD>x");
    page.charset = "koi8-r";
    f.HashCache({page});
    ASSERT_EQ(f.entries.at(0).Charset, "koi8-r");
    f.RunAnswering(Answer::No);
    EXPECT_EQ(f.Read("HEXAMPLE.HTM"), "<HEAD><TITLE>Caf\xE9</TITLE></HEAD>x");
    EXPECT_NE(f.Read("HTMLIST").find("\r\nCaf\xE9\r\n"), std::string::npos);
}

TEST(UncacheRunNames, CollisionsAreNumberedInListOrderWithinOneFolder) {
    RunFixture f;
    f.TextCache({
        Object("http://a.example/x/page.html", "text/html", Page("x")),
        Object("http://b.example/page.html", "text/html", Page("b")),
        Object("http://a.example/y/Page.htm", "text/html", Page("y")),
        Object("http://a.example/page.gif", "image/gif", StripedGif(2, 2, 0, 0xFFFFFF)),
        Object("http://a.example/page.txt", "text/plain", "a"),
        Object("http://a.example/x/page.txt", "text/plain", "x"),
        Object("http://a.example/page", "TEXT", "bare"),
        Object("http://a.example/q/page", "application/x-unknown", "other"),
        Object("http://a.example/links.html", "text/html",
               Page("<A HREF=x/page.html>1</A><A HREF=http://b.example/page.html>2</A><A HREF=y/Page.htm>3</A>"
                    "<A HREF=x/page.txt>4</A><A HREF=page>5</A><A HREF=q/page>6</A>")),
    });
    WriteBytes(f.settings.HistPath, "");
    f.RunAnswering(Answer::No);

    EXPECT_EQ(PageNames(f), (std::vector<std::string>{"PAGE.HTM", "PAGE1.HTM", "PAGE2.HTM", "LINKS.HTM"}));
    EXPECT_EQ(f.Read("PAGE1.HTM"), Page("b"));
    EXPECT_EQ(f.Read("PAGE2.HTM"), Page("y"));
    EXPECT_EQ(f.Read("PAGE.TXT"), "a");
    EXPECT_EQ(f.Read("PAGE1.TXT"), "x");
    EXPECT_EQ(f.Read("PAGE.!!!"), "bare");
    EXPECT_EQ(f.Read("OTHERS/PAGE.!!!"), "other");
    EXPECT_TRUE(FileExists(f.Offline("MEDIA/PAGE.GIF")));
    EXPECT_EQ(f.Read("LINKS.HTM"),
              Page("<BLINK><A HREF=PAGE.HTM></BLINK>1</A><BLINK><A HREF=PAGE1.HTM></BLINK>2</A>"
                   "<BLINK><A HREF=PAGE2.HTM></BLINK>3</A><BLINK><A HREF=PAGE1.TXT></BLINK>4</A>"
                   "<BLINK><A HREF=PAGE.!!!></BLINK>5</A><BLINK><A HREF=OTHERS/PAGE.!!!></BLINK>6</A>"));
}

TEST(UncacheRunNames, ABareTextTypeFollowsTheOtherBoxButLivesInTheRoot) {
    RunFixture f;
    f.HashCache({Object("http://a.example/notes", "TEXT", "bare"),
                 Object("http://a.example/plain.txt", "text/plain", "plain")});
    f.selection.IncludeOther = false;
    f.RunAnswering(Answer::No);
    EXPECT_TRUE(FileExists(f.Offline("PLAIN.TXT")));
    EXPECT_FALSE(FileExists(f.Offline("NOTES.!!!")));

    f.selection.IncludeOther = true;
    f.selection.IncludeText = false;
    f.RunAnswering(Answer::No);
    EXPECT_EQ(f.Read("NOTES.!!!"), "bare");
    EXPECT_FALSE(FileExists(f.Offline("PLAIN.TXT")));
    EXPECT_TRUE(FilesIn(f.Offline("OTHERS")).empty());
}

TEST(UncacheRunNames, AnAddressEndingInDotSlashIsNamedForItsFolder) {
    RunFixture f;
    f.TextCache({
        Object("http://a.example/docs/./", "text/html", Page("<A HREF=page.html>p</A>")),
        Object("http://a.example/docs/page.html", "text/html", Page("<A HREF=http://a.example/docs/>d</A>")),
        Object("http://a.example/pics/././", "image/gif", StripedGif(2, 2, 0, 0xFFFFFF)),
    });
    WriteBytes(f.settings.HistPath, "");
    f.RunAnswering(Answer::No);

    EXPECT_EQ(Lines(f.Read("HTMLIST")), (std::vector<std::string>{"http://a.example/docs/", "http://a.example/docs/",
                                                                  "DOCS.HTM", "http://a.example/docs/page.html",
                                                                  "...p://a.example/docs/page.html", "PAGE.HTM"}));
    EXPECT_EQ(f.Read("DOCS.HTM"), Page("<BLINK><A HREF=PAGE.HTM></BLINK>p</A>"));
    EXPECT_EQ(f.Read("PAGE.HTM"), Page("<BLINK><A HREF=DOCS.HTM></BLINK>d</A>"));
    EXPECT_TRUE(FileExists(f.Offline("MEDIA/PICS.GIF")));
}

// The staging folder holds a placeholder HTMINDEX.HTM, so a page of that
// name is numbered and the index page is never written over.
TEST(UncacheRunNames, APageNamedLikeTheIndexTakesTheNextName) {
    RunFixture f;
    f.HashCache({
        Object("http://a.example/htmindex.htm", "text/html", "<TITLE>Their index</TITLE>"),
        Object("http://a.example/htmlist.html", "text/html", "<TITLE>Their list</TITLE>"),
        Object("http://a.example/start.html", "text/html",
               Page("<A HREF=htmindex.htm>i</A><A HREF=htmlist.html>l</A>")),
    });
    f.RunAnswering(Answer::No);

    EXPECT_EQ(f.Read("HTMINDE1.HTM"), "<TITLE>Their index</TITLE>");
    EXPECT_EQ(f.Read("HTMLIST.HTM"), "<TITLE>Their list</TITLE>");
    EXPECT_EQ(f.Read("START.HTM"),
              Page("<BLINK><A HREF=HTMINDE1.HTM></BLINK>i</A><BLINK><A HREF=HTMLIST.HTM></BLINK>l</A>"));
    EXPECT_EQ(f.Read("HTMINDEX.HTM").substr(0, 48), "<HTML>\r\n<TITLE>Restash - Offline Index</TITLE>\r\n");
    const auto names = PageNames(f);
    EXPECT_EQ(std::count(names.begin(), names.end(), "HTMINDE1.HTM"), 1);
}

TEST(UncacheRunNames, LongTagsAndLongAddressesComeThroughWhole) {
    RunFixture f;
    const std::string dir = "http://long.example/" + std::string(280, 'd') + "/";
    const std::string far = "http://long.example/" + std::string(300, 'f') + ".html";
    const std::string title(300, 't');
    const std::string longTag = "<A TITLE=\"" + title + "\" HREF=\"other.html\">";
    f.HashCache({
        Object(dir + "page.html", "text/html", Page(longTag + "o</A> <A HREF=\"" + far + "\">f</A>")),
        Object(dir + "other.html", "text/html", Page("<A HREF=page.html>back</A>")),
        Object(far, "text/html", "far"),
    });
    f.RunAnswering(Answer::No);

    EXPECT_EQ(f.Read("PAGE.HTM"), Page("<BLINK><A TITLE=\"" + title + "\" HREF=\"OTHER.HTM\"></BLINK>o</A> " +
                                       "<BLINK><A HREF=\"FFFFFFFF.HTM\"></BLINK>f</A>"));
    EXPECT_EQ(f.Read("OTHER.HTM"), Page("<BLINK><A HREF=PAGE.HTM></BLINK>back</A>"));
    const std::string list = f.Read("HTMLIST");
    EXPECT_NE(list.find(far + "\r\n"), std::string::npos);
    EXPECT_NE(list.find(dir + "page.html\r\n"), std::string::npos);
}

TEST(UncacheRunTree, ADomainOfMoreThanFiftyCharactersKeepsItsPagesAndImages) {
    RunFixture f;
    const std::string host = std::string(60, 'h') + ".example";
    f.HashCache({Object("http://" + host + "/", "text/html", "<TITLE>Long</TITLE>"),
                 Object("http://" + host + "/logo.gif", "image/gif", StripedGif(4, 4, 0x000000, 0xffffff))});
    f.RunAnswering(Answer::No);
    EXPECT_NE(f.Read("0.RSH").find("Long"), std::string::npos) << "the domain page lists the page";
    EXPECT_NE(f.Read("0.RSI").find("MEDIA/LOGO.GIF"), std::string::npos) << "the media list lists the image";
}

TEST(UncacheRunNames, AMissingCacheFileIsLeftOutSilently) {
    RunFixture f;
    NsObject gone = Object("http://a.example/gone.gif", "image/gif", "");
    gone.writeFile = false;
    f.HashCache({gone, Object("http://a.example/", "text/html", Page("<IMG SRC=gone.gif>"))});
    const RunOutcome outcome = f.RunAnswering(Answer::No);
    EXPECT_EQ(f.Read("AEXAMPLE.HTM"), Page("<IMG SRC=MEDIA/NOTFOUND.GIF>"));
    EXPECT_EQ(FilesIn(f.Offline("MEDIA")), kSupportNames);
    EXPECT_TRUE(outcome.copyFailures.empty());
    EXPECT_EQ(f.messages.shown.size(), 2u) << "the question and the instructions only";
}

// The phases in order and the gauge of the copying phase.
TEST(UncacheRunProgress, AnnouncesEveryPhaseAndFillsTheGauge) {
    RunFixture f;
    f.TextCache({Object("http://a.example/", "text/html", "x"), Object("http://a.example/b.txt", "text/plain", "b"),
                 Object("http://other.example/", "text/html", "y"), Object("http://a.example/c.txt", "text/plain", "c"),
                 Object("http://a.example/d.html", "text/html", "d")});
    f.selection.Domains = DomainSet({"a.example"});
    WriteBytes(f.settings.HistPath, "");
    f.RunAnswering(Answer::No);

    EXPECT_EQ(f.progress.phases,
              (std::vector<std::string>{kPhaseHistory, kPhaseDirectories, kPhaseCopying, kPhaseConverting, kPhaseIndex,
                                        ""}));
    // Copying counts every entry, selected or not; converting counts the
    // pages against one more than their number.
    // The index pages then fill it once more for their one domain.
    const std::vector<int> expected{20, 40, 60, 80, 100, 0, 33, 66, 0, 100, 0};
    EXPECT_EQ(f.progress.gauges, expected);
}

class EndQuestion : public ::testing::Test, public RunFixture {
protected:
    void SetUp() override { HashCache({Object("http://a.example/", "text/html", "x")}); }
    void ExpectShown(const std::vector<std::pair<MessageKind, std::string>>& expected) {
        ASSERT_EQ(messages.shown.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(messages.shown[i].kind, expected[i].first) << i;
            EXPECT_EQ(messages.shown[i].text, expected[i].second) << i;
        }
        EXPECT_EQ(messages.shown[0].buttons, Buttons::YesNo);
    }
};

TEST_F(EndQuestion, YesWithTheProgramPresentAsksToView) {
    WriteBytes(settings.NetscapeProgramPath(), "program");
    const RunOutcome outcome = RunAnswering(Answer::Yes);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_TRUE(outcome.viewIndexRequested);
    ExpectShown({{MessageKind::Confirmation, kUncachingComplete}});
}

TEST_F(EndQuestion, YesWithoutTheProgramShowsTheErrorAndTheInstructions) {
    const RunOutcome outcome = RunAnswering(Answer::Yes);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_FALSE(outcome.viewIndexRequested);
    ExpectShown({{MessageKind::Confirmation, kUncachingComplete},
                 {MessageKind::Error, kCouldNotOpenNetscape},
                 {MessageKind::Information, IndexInstructionsText(settings)}});
}

TEST_F(EndQuestion, NoShowsTheInstructions) {
    WriteBytes(settings.NetscapeProgramPath(), "program");
    const RunOutcome outcome = RunAnswering(Answer::No);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_FALSE(outcome.viewIndexRequested);
    ExpectShown({{MessageKind::Confirmation, kUncachingComplete},
                 {MessageKind::Information, IndexInstructionsText(settings)}});
}

}  // namespace
}  // namespace restash::test
