#include "core/links/page_pass.h"
#include "core/platform/file_read_buffer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/platform/error.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

class StringOutput final : public OutputFile {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    void Flush() override {}
    void Close() override {}
    const std::string& Path() const override { return path_; }
    std::string text;

private:
    std::string path_ = "memory";
};

struct PagePass : ::testing::Test {
    CopiedFiles files;
    HistoryPaths historyPaths;
    LinkContext context{files, historyPaths, false, nullptr, "file:///o/", "1", false};
    Emphasis emphasis;
    std::string title;

    PagePass() {
        files.Add("HTTP://host.example/dir/page2.html", "PAGE2.HTM");
        files.Add("HTTP://host.example/dir/a.class", "OTHERS/A.!!!");
        files.Add("HTTP://other.example/x/p.html", "P.HTM");
    }
    std::string Pass(const std::string& page, std::string_view url = "http://host.example/dir/page.html",
                     std::string_view charset = {}) {
        std::istringstream in(page);
        StringOutput out;
        title = PassPage(in, out, "host.example/dir/", url, context, emphasis, charset);
        return out.text;
    }
};

TEST_F(PagePass, CopiesTextAndShortTagsUnchanged) {
    EXPECT_EQ(Pass("plain text, last char!"), "plain text, last char!");
    EXPECT_EQ(Pass("<P>a<BR>b<IMG SRC>c</A>\r\n"), "<P>a<BR>b<IMG SRC>c</A>\r\n");
    EXPECT_EQ(Pass("a > b <FORM ACTION=page2.html>"), "a > b <FORM ACTION=page2.html>");
    EXPECT_EQ(Pass(""), "");
    EXPECT_EQ(Pass("<"), "<");
}

TEST_F(PagePass, FollowsEveryCommentWithAnEmptyOne) {
    EXPECT_EQ(Pass("<!-- a -->x"), "<!-- a --><!-- -->x");
    EXPECT_EQ(Pass("<!-- a -- >x"), "<!-- a -- ><!-- -->x");
    // Links inside a comment are not converted.
    EXPECT_EQ(Pass("<!-- <A HREF=page2.html> -->"), "<!-- <A HREF=page2.html> --><!-- -->");
    EXPECT_EQ(Pass("<!---->"), "<!----><!-- -->");
    EXPECT_EQ(Pass("<!-- open to the end"), "<!-- open to the end<!-- -->");
    // Other declarations are ordinary tags.
    EXPECT_EQ(Pass("<!DOCTYPE HTML PUBLIC>"), "<!DOCTYPE HTML PUBLIC>");
}

TEST_F(PagePass, TakesTheFirstTitleAndCleansIt) {
    EXPECT_EQ(Pass("<HTML><TITLE> My\tPage </TITLE><title>Second</title>"),
              "<HTML><TITLE> My\tPage </TITLE><title>Second</title>");
    EXPECT_EQ(title, "MyPage");
    // Bytes above 126 are the page's characters (windows-1252 when it names no charset), kept in UTF-8.
    Pass("<title>\xe9t\xe9 &amp; more \x81 </title>");
    EXPECT_EQ(title, "\xC3\xA9t\xC3\xA9 &amp; more");
    Pass("<TITLE>" + std::string(300, 'x') + "</TITLE>");
    EXPECT_EQ(title, std::string(255, 'x'));
}

// A charset the cache gives from outside the page is declared in the copy,
// once, at the start of its head (or before the first tag a head cannot
// follow); the title is read in it. A charset that is not ASCII-compatible, or
// not a plain name, is not declared.
TEST_F(PagePass, DeclaresTheCharsetTheCacheGaveAtTheStartOfTheHead) {
    const std::string meta = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=koi8-r\">";
    const std::pair<std::string, std::string> pages[] = {
        {"<HTML><HEAD><TITLE>\xED\xC9\xD2</TITLE></HEAD>", "<HTML><HEAD>" + meta + "<TITLE>\xED\xC9\xD2</TITLE></HEAD>"},
        {"<!DOCTYPE html><html><title>x</title>", "<!DOCTYPE html><html>" + meta + "<title>x</title>"},
        {"<head profile=x><BODY>", "<head profile=x>" + meta + "<BODY>"},
        {"<HEADER>t", meta + "<HEADER>t"},
        {"no tags at all", "no tags at all"},
    };
    for (const auto& [page, copy] : pages) EXPECT_EQ(Pass(page, "http://h/", "koi8-r"), copy) << page;
    Pass("<TITLE>\xED\xC9\xD2</TITLE>", "http://h/", "koi8-r");
    EXPECT_EQ(title, "\xD0\x9C\xD0\xB8\xD1\x80");
    for (const char* charset : {"UTF-16LE", "x\">", ""})
        EXPECT_EQ(Pass("<HEAD><TITLE>t</TITLE>", "http://h/", charset), "<HEAD><TITLE>t</TITLE>") << charset;
    // Without one from the cache, the page's own META says how its title reads.
    Pass("<META charset=utf-8><TITLE>Caf\xC3\xA9</TITLE>");
    EXPECT_EQ(title, "Caf\xC3\xA9");
}

TEST_F(PagePass, ListsAPageWithoutTitleUnderItsURL) {
    Pass("<HTML><BODY>no title</BODY>", "http://h.example/dir/a.html");  // 27 characters
    EXPECT_EQ(title, "http://h.example/dir/a.html");
    Pass("<TITLE>  </TITLE>", "http://h/abcdefghijklmnopqrstu");  // exactly 30
    EXPECT_EQ(title, "http://h/abcdefghijklmnopqrstu");
    Pass("<TITLE>\r\n</TITLE>", "http://h/abcdefghijklmnopqrstuv");  // 31
    EXPECT_EQ(title, "...p://h/abcdefghijklmnopqrstuv");
    EXPECT_EQ(title.size(), 3u + 28u);
}

TEST_F(PagePass, EmphasisesAvailableHyperlinksOnly) {
    EXPECT_EQ(Pass("<A HREF=page2.html>next</A>"), "<BLINK><A HREF=PAGE2.HTM></BLINK>next</A>");
    EXPECT_EQ(Pass("<A HREF=page3.html>gone</A>"), "<A HREF=NOTFOUND>gone</A>");
    EXPECT_EQ(Pass("<IMG SRC=page2.html>"), "<IMG SRC=PAGE2.HTM>");
    EXPECT_EQ(Pass("<APPLET CODE=a.class>"), "<APPLET CODE=OTHERS/A.!!!>");
    emphasis.tag = "B";
    EXPECT_EQ(Pass("<A HREF=page2.html>"), "<B><A HREF=PAGE2.HTM></B>");
    emphasis.on = false;
    EXPECT_EQ(Pass("<A HREF=page2.html>"), "<A HREF=PAGE2.HTM>");
}

TEST_F(PagePass, ABaseTagMovesTheRestOfThePage) {
    EXPECT_EQ(Pass("<A HREF=p.html><BASE HREF=http://other.example/x/><A HREF=p.html>"),
              "<A HREF=NOTFOUND><!><BLINK><A HREF=P.HTM></BLINK>");
}

TEST_F(PagePass, KeepsLongTagsAndATagCutOffAtTheEnd) {
    const std::string alt(400, 'a');
    EXPECT_EQ(Pass("<IMG ALT=\"" + alt + "\" SRC=x.gif WIDTH=1>"),
              "<IMG ALT=\"" + alt + "\" SRC=MEDIA/NOTFOUND.GIF WIDTH=1>");
    EXPECT_EQ(Pass("text <A HREF=page2.html"), "text <BLINK><A HREF=PAGE2.HTM</BLINK>");
}

TEST(PageFile, StreamsALargePageAndReportsFailures) {
    test::TempDir dir;
    CopiedFiles files;
    files.Add("HTTP://h/d/page2.html", "PAGE2.HTM");
    HistoryPaths historyPaths;
    LinkContext context{files, historyPaths, false, nullptr, "file:///o/", "1", false};
    std::string page, expected;
    for (int i = 0; i < 20000; ++i) {
        page += "<P>line " + std::to_string(i) + " <A HREF=page2.html>x</A>\n";
        expected += "<P>line " + std::to_string(i) + " <BLINK><A HREF=PAGE2.HTM></BLINK>x</A>\n";
    }
    test::WriteBytes(dir / "staged.htm", page);
    FileReadBuffer staged(dir / "staged.htm");
    EXPECT_EQ(ConvertPageFile(RealFileSystem(), staged, dir / "PAGE.HTM", "h/d/", "http://h/d/page.html", context,
                              Emphasis{}),
              "http://h/d/page.html");
    EXPECT_EQ(test::ReadBytes(dir / "PAGE.HTM"), expected);

    test::FaultyFileSystem full;
    full.failWritesTo = dir / "FULL.HTM";
    full.writeBudget = 10000;
    FileReadBuffer again(dir / "staged.htm");
    EXPECT_THROW(ConvertPageFile(full, again, dir / "FULL.HTM", "h/d/", "u", context, Emphasis{}), FileError);
}

}  // namespace
}  // namespace restash
