#include "core/links/convert_tag.h"

#include <gtest/gtest.h>

#include "core/links/resolve_link.h"
#include "core/links/tag_scanner.h"
#include "core/offline/history.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

TEST(TagScanner, ReadsWordsInUpperCaseAndValuesAsTheyAre) {
    const std::string tag = "a href=\"Page2.HTML?a=1&b=2#x\" target='_top'>";
    std::size_t position = 0;
    EXPECT_EQ(NextWord(tag, position), "A");
    EXPECT_EQ(position, 2u);
    EXPECT_EQ(NextWord(tag, position), "HREF");
    EXPECT_EQ(NextValue(tag, position), "Page2.HTML?a=1&b=2#x");
    EXPECT_EQ(tag[position - 1], '"') << "the closing quote ends the value";
    EXPECT_EQ(NextWord(tag, position), "TARGET");
    EXPECT_EQ(NextValue(tag, position), "_top");
    EXPECT_EQ(tag[position - 1], '\'') << "so does a closing single quote";
    EXPECT_EQ(NextWord(tag, position), "");
    EXPECT_GE(position, tag.size());

    // A word stops at "=", a value does not; control characters and DEL
    // separate both.
    const std::string odd = "X a=b=c\tD\x7f" "E>";
    position = 0;
    EXPECT_EQ(NextWord(odd, position), "X");
    EXPECT_EQ(NextValue(odd, position), "a=b=c");
    EXPECT_EQ(NextWord(odd, position), "D");
    EXPECT_EQ(NextWord(odd, position), "E");
}

TEST(ResolveLink, StopsClimbingAtTheTop) {
    EXPECT_EQ(ResolveLink("../../../a.html", "host.example/x/").base, "");
    EXPECT_EQ(SiteRoot("host.example"), "");
    EXPECT_EQ(SiteRoot("host.example:80/pub/"), "host.example");
}

struct Converter : ::testing::Test {
    test::TempDir dir;
    CopiedFiles files;
    HistoryPaths historyPaths;
    HistoryFile history{RealFileSystem(), dir / "TEMP.HST"};
    LinkContext context{files, historyPaths, true, &history, "file:///home/u/OFFLINE/", "900000000", false};
    std::string base = "host.example/dir/";
    TagFlags flags;

    Converter() {
        files.Add("HTTP://host.example/dir/page2.html", "PAGE2.HTM");
        files.Add("HTTP://host.example/dir/logo.gif", "MEDIA/LOGO.GIF");
        files.Add("HTTP://other.example/x/q.cgi?id=7", "Q.HTM");
        files.Add("HTTP://host.example/Applet.class", "OTHERS/APPLET.!!!");
    }
    std::string Convert(std::string_view tag) {
        flags = TagFlags{};
        return ConvertTag(tag, base, context, flags);
    }
    std::string HistoryBytes() { return test::ReadBytes(dir / "TEMP.HST"); }

    // One tag as the page wrote it, with or without kept web addresses, and
    // what it becomes.
    struct Case {
        std::string tag;
        bool keepAddresses;
        std::string converted;
    };
    void ExpectConverted(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            context.notFoundURL = c.keepAddresses;
            EXPECT_EQ(Convert(c.tag), c.converted) << c.tag << (c.keepAddresses ? " (keeping addresses)" : "");
        }
    }
};

TEST_F(Converter, HyperlinksToCopiedPagesBecomeLocalPaths) {
    EXPECT_EQ(Convert("A HREF=page2.html>"), "A HREF=PAGE2.HTM>");
    EXPECT_TRUE(flags.linkAvailable);
    EXPECT_FALSE(flags.appletTag);
    EXPECT_EQ(Convert("A HREF=\"page2.html\">"), "A HREF=\"PAGE2.HTM\">");
    EXPECT_EQ(Convert("a href=Page2.HTML>"), "a href=PAGE2.HTM>");
    EXPECT_EQ(Convert("A HREF=./page2.html>"), "A HREF=PAGE2.HTM>");
    EXPECT_EQ(Convert("A HREF=././page2.html>"), "A HREF=PAGE2.HTM>");
    EXPECT_EQ(Convert("A HREF=http://host.example:80/dir/page2.html>"), "A HREF=PAGE2.HTM>");
    EXPECT_EQ(Convert("A HREF=HTTP://HOST.EXAMPLE/DIR/PAGE2.HTML>"), "A HREF=PAGE2.HTM>");
    EXPECT_EQ(Convert("A HREF=http://other.example/x/q.cgi?id=7>"), "A HREF=Q.HTM>");
    EXPECT_EQ(Convert("A NAME=page2.html HREF=page2.html>"), "A NAME=page2.html HREF=PAGE2.HTM>");
    EXPECT_EQ(Convert("AREA SHAPE=rect COORDS=\"1,2,3,4\" HREF=/dir/page2.html>"),
              "AREA SHAPE=rect COORDS=\"1,2,3,4\" HREF=PAGE2.HTM>");
}

TEST_F(Converter, UncachedHyperlinksAreMarkedOrKeptAbsolute) {
    EXPECT_EQ(Convert("A HREF=page3.html>"), "A HREF=NOTFOUND>");
    EXPECT_FALSE(flags.linkAvailable);
    EXPECT_EQ(Convert("A HREF=http://other.example/x/q.cgi?id=8>"), "A HREF=NOTFOUND>");
    context.notFoundURL = true;
    EXPECT_EQ(Convert("A HREF=page3.html>"), "A HREF=http://host.example/dir/page3.html>");
    EXPECT_EQ(Convert("A HREF=\"../b.html\">"), "A HREF=\"http://host.example/b.html\">");
    EXPECT_EQ(Convert("A HREF=http://elsewhere:80/x>"), "A HREF=HTTP://elsewhere/x>");
    base = "host.example/~joe/pub/";
    EXPECT_EQ(Convert("A HREF=/a.html>"), "A HREF=http://host.example/~joe/a.html>");
    // A link that names a user folder itself starts at the host.
    EXPECT_EQ(Convert("A HREF=/~ann/x.html>"), "A HREF=http://host.example/~ann/x.html>");
    base = "host.example/pub/";
    EXPECT_EQ(Convert("A HREF=/a.html>"), "A HREF=http://host.example/a.html>");
    base = "host.example/x/y/";
    EXPECT_EQ(Convert("A HREF=../../a.html>"), "A HREF=http://host.example/a.html>");
}

TEST_F(Converter, PageAnchorsAndMailLinksStayAsTheyAre) {
    EXPECT_EQ(Convert("A HREF=#top>"), "A HREF=#top>");
    EXPECT_EQ(Convert("A HREF=./#top>"), "A HREF=#top>");
    EXPECT_EQ(Convert("A HREF=MailTo:joe@host.example>"), "A HREF=MailTo:joe@host.example>");
    EXPECT_FALSE(flags.linkAvailable);
}

TEST_F(Converter, FragmentsStayOnRelativeLinksOnly) {
    EXPECT_EQ(Convert("A HREF=page2.html#sec2>"), "A HREF=PAGE2.HTM#sec2>");
    EXPECT_TRUE(flags.linkAvailable);
    EXPECT_EQ(Convert("A HREF=http://host.example/dir/page2.html#sec2>"), "A HREF=PAGE2.HTM>");
    context.notFoundURL = true;
    EXPECT_EQ(Convert("A HREF=page3.html#s>"), "A HREF=http://host.example/dir/page3.html#s>");
    EXPECT_EQ(Convert("A HREF=http://elsewhere/p.html#s>"), "A HREF=HTTP://elsewhere/p.html>");
}

TEST_F(Converter, ImagesAndBackgroundsGetTheirOwnMarkers) {
    context.notFoundURL = true;  // markers for embedded files whatever this says
    EXPECT_EQ(Convert("IMG SRC=logo.gif ALT=Logo>"), "IMG SRC=MEDIA/LOGO.GIF ALT=Logo>");
    EXPECT_FALSE(flags.linkAvailable);
    EXPECT_EQ(Convert("IMG SRC=nologo.gif ALT=Logo>"), "IMG SRC=MEDIA/NOTFOUND.GIF ALT=Logo>");
    EXPECT_EQ(Convert("BODY BACKGROUND=bg.gif TEXT=black>"), "BODY BACKGROUND=NOTFOUND TEXT=black>");
    EXPECT_EQ(Convert("IMG LOWSRC=logo.gif SRC=big.gif BACKGROUND=logo.gif>"),
              "IMG LOWSRC=MEDIA/LOGO.GIF SRC=MEDIA/NOTFOUND.GIF BACKGROUND=MEDIA/LOGO.GIF>");
    EXPECT_EQ(Convert("INPUT TYPE=image SRC=\"logo.gif\">"), "INPUT TYPE=image SRC=\"MEDIA/LOGO.GIF\">");
    EXPECT_EQ(Convert("FRAME SRC=page2.html NAME=main>"), "FRAME SRC=PAGE2.HTM NAME=main>");
}

TEST_F(Converter, OtherTagsPassThrough) {
    for (const char* tag : {"FORM ACTION=page2.html>", "EMBED SRC=logo.gif>", "TD BACKGROUND=logo.gif>",
                            "LINK HREF=page2.html>", "/A HREF=page2.html>"}) {
        EXPECT_EQ(Convert(tag), tag);
        EXPECT_FALSE(flags.linkAvailable);
    }
    EXPECT_TRUE(historyPaths.paths().empty());
}

TEST_F(Converter, AppletsGetTheLocalPathAndAreFlagged) {
    EXPECT_EQ(Convert("APPLET CODE=/Applet.class WIDTH=10>"), "APPLET CODE=OTHERS/APPLET.!!! WIDTH=10>");
    EXPECT_TRUE(flags.appletTag);
    EXPECT_TRUE(flags.linkAvailable);
}

TEST_F(Converter, ABaseTagIsDroppedAndMovesTheBase) {
    EXPECT_EQ(Convert("BASE HREF=\"http://other.example/x/y.html\">"), "!>");
    EXPECT_EQ(base, "other.example/x/");
    EXPECT_EQ(Convert("A HREF=q.cgi?id=7>"), "A HREF=Q.HTM>");

    EXPECT_EQ(Convert("BASE HREF=http://>"), "!>");
    EXPECT_EQ(base, "other.example/x/") << "an empty base leaves the old one";
    // A bare host and an upper-case scheme name a usable base too.
    EXPECT_EQ(Convert("BASE HREF=http://host.example>"), "!>");
    EXPECT_EQ(base, "host.example/");
    EXPECT_EQ(Convert("BASE HREF=HTTP://host.example:80/dir/>"), "!>");
    EXPECT_EQ(base, "host.example/dir/");
    EXPECT_EQ(Convert("A HREF=page2.html>"), "A HREF=PAGE2.HTM>");
}

TEST_F(Converter, EachReachedFileGetsOneHistoryRecord) {
    Convert("A HREF=page2.html>");
    Convert("A HREF=PAGE2.html#x>");
    Convert("IMG SRC=logo.gif>");
    std::string otherPageBase = "host.example/";
    TagFlags other;
    ConvertTag("A HREF=dir/page2.html>", otherPageBase, context, other);
    Convert("A HREF=page3.html>");
    EXPECT_EQ(HistoryBytes(),
              "file:///home/u/OFFLINE/PAGE2.HTM\t900000000\r\r\n"
              "file:///home/u/OFFLINE/MEDIA/LOGO.GIF\t900000000\r\r\n");
    EXPECT_EQ(historyPaths.paths(), (std::vector<std::string>{"PAGE2.HTM", "MEDIA/LOGO.GIF"}));

    // Without the history the paths are still remembered, and nothing is written.
    context.historyValid = false;
    Convert("A HREF=http://other.example/x/q.cgi?id=7>");
    EXPECT_TRUE(historyPaths.Contains("q.htm"));
    EXPECT_EQ(HistoryBytes().find("Q.HTM"), std::string::npos);
}

TEST_F(Converter, LongTagsAndAddressesComeThroughWhole) {
    const std::string longPath = "very/" + std::string(300, 'v') + "/page.html";
    files.Add("HTTP://host.example/dir/" + longPath, "PAGE.HTM");
    const std::string alt = std::string(280, 'a');
    EXPECT_EQ(Convert("A ALT=" + alt + " HREF=\"" + longPath + "\" TARGET=x>"),
              "A ALT=" + alt + " HREF=\"PAGE.HTM\" TARGET=x>");
    context.notFoundURL = true;
    const std::string missing = std::string(400, 'm') + ".html";
    EXPECT_EQ(Convert("A HREF=" + missing + " TARGET=x>"),
              "A HREF=http://host.example/dir/" + missing + " TARGET=x>");
}

TEST_F(Converter, TheFirstOfTwoAddressesAlikeButForCaseWins) {
    files.Add("HTTP://host.example/dir/PAGE2.HTML", "PAGE21.HTM");
    files.Add("HTTP://host.example/dir/Mixed.html", "MIXED.HTM");
    files.Add("HTTP://host.example/dir/mixed.HTML", "MIXED1.HTM");
    EXPECT_EQ(Convert("A HREF=PAGE2.HTML>"), "A HREF=PAGE2.HTM>");
    EXPECT_EQ(Convert("A HREF=mixed.html>"), "A HREF=MIXED.HTM>");
}

TEST_F(Converter, ATagCutOffByTheEndOfThePageStillConverts) {
    EXPECT_EQ(Convert("A HREF=page2.html"), "A HREF=PAGE2.HTM");
    EXPECT_EQ(Convert("IMG ALT=x SRC="), "IMG ALT=x SRC=MEDIA/NOTFOUND.GIF");
    EXPECT_EQ(Convert("IMG ALT=x SRC=>"), "IMG ALT=x SRC=MEDIA/NOTFOUND.GIF>");
}

TEST_F(Converter, SingleQuotedValuesAreReadAndWrittenBetweenTheirQuotes) {
    ExpectConverted({
        {"A HREF='page2.html'>", false, "A HREF='PAGE2.HTM'>"},
        {"a href='Page2.HTML#s' target='_top'>", false, "a href='PAGE2.HTM#s' target='_top'>"},
        {"A HREF = 'page2.html' >", false, "A HREF = 'PAGE2.HTM' >"},
        {"IMG SRC='logo.gif' ALT='a logo'>", false, "IMG SRC='MEDIA/LOGO.GIF' ALT='a logo'>"},
        {"IMG SRC='nologo.gif'>", true, "IMG SRC='MEDIA/NOTFOUND.GIF'>"},
        {"BODY BACKGROUND='bg.gif'>", false, "BODY BACKGROUND='NOTFOUND'>"},
        {"A HREF='page3.html'>", false, "A HREF='NOTFOUND'>"},
        {"A HREF='page3.html'>", true, "A HREF='http://host.example/dir/page3.html'>"},
        {"A HREF='page2.html>", false, "A HREF='PAGE2.HTM>"},  // no closing quote: the ">" ends it
        {"A HREF='' NAME=x>", false, "A HREF='NOTFOUND' NAME=x>"},
        // Only an opening quote makes a value quoted; inside one it is a letter.
        {"A HREF=it's.html>", true, "A HREF=http://host.example/dir/it's.html>"},
        {"A HREF=\"it's.html\">", true, "A HREF=\"http://host.example/dir/it's.html\">"},
    });
    EXPECT_EQ(Convert("BASE HREF='http://other.example/x/y.html'>"), "!>");
    EXPECT_EQ(base, "other.example/x/");
}

TEST_F(Converter, Latin1BytesBelongToWordsAndValues) {
    files.Add("HTTP://host.example/dir/caf\xe9.html", "CAF.HTM");
    ExpectConverted({
        {"A HREF=\"caf\xe9.html\">", false, "A HREF=\"CAF.HTM\">"},
        {"A HREF=CAF\xe9.HTML>", false, "A HREF=CAF.HTM>"},
        {"A TITLE=\xe9t\xe9 HREF='caf\xe9.html'>", false, "A TITLE=\xe9t\xe9 HREF='CAF.HTM'>"},
        {"A HREF=caf\xc9.html>", false, "A HREF=NOTFOUND>"},  // only ASCII letters match in either case
        {"A HREF=cr\xe8me.html>", true, "A HREF=http://host.example/dir/cr\xe8me.html>"},
        {"A\xa0HREF=page2.html>", false, "A\xa0HREF=page2.html>"},  // "A\xa0HREF" is no link tag
    });
}

TEST_F(Converter, CharacterReferencesAreDecodedBeforeTheLookUp) {
    files.Add("HTTP://host.example/dir/search.cgi?q=a&page=2", "SEARCH.HTM");
    files.Add("HTTP://host.example/dir/caf\xe9.html", "CAF.HTM");
    ExpectConverted({
        {"A HREF=\"search.cgi?q=a&amp;page=2\">", false, "A HREF=\"SEARCH.HTM\">"},
        {"A HREF=search.cgi?q=a&#38;page=2>", false, "A HREF=SEARCH.HTM>"},
        {"A HREF='search.cgi?q=a&#x26;page=2#p&amp;q'>", false, "A HREF='SEARCH.HTM#p&amp;q'>"},
        {"A HREF=\"search.cgi?q=a&page=2\">", false, "A HREF=\"SEARCH.HTM\">"},
        {"A HREF=caf&eacute;.html>", false, "A HREF=CAF.HTM>"},
        {"IMG SRC=\"logo&#46;gif\">", false, "IMG SRC=\"MEDIA/LOGO.GIF\">"},
        {"A HREF=\"mailto:a@b.example?subject=x&amp;body=y\">", false,
         "A HREF=\"mailto:a@b.example?subject=x&amp;body=y\">"},
    });
}

TEST_F(Converter, AKeptAddressIsWrittenWithReferencesWhereThePageUsedThem) {
    ExpectConverted({
        {"A HREF=\"search.cgi?q=a&amp;page=3\">", true, "A HREF=\"http://host.example/dir/search.cgi?q=a&amp;page=3\">"},
        {"A HREF=\"search.cgi?q=a&page=3\">", true, "A HREF=\"http://host.example/dir/search.cgi?q=a&page=3\">"},
        {"A HREF=a.cgi?x=1&copy=2>", true, "A HREF=http://host.example/dir/a.cgi?x=1&copy=2>"},
        {"A HREF=a&#32;b&quot;&#39;&lt;.html>", true, "A HREF=http://host.example/dir/a&#32;b&quot;&#39;&lt;.html>"},
        {"A HREF='x&amp;y.html'>", false, "A HREF='NOTFOUND'>"},
    });
}

}  // namespace
}  // namespace restash
