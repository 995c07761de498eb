#include "core/export/page_title.h"

#include <gtest/gtest.h>

namespace restash::test {
namespace {

struct Case {
    std::string page;
    const char* charset;
    const char* title;  // UTF-8
};

// Every page is fed whole, then byte by byte: a title may be cut anywhere.
std::string FoundTitle(const Case& c, bool bytewise) {
    TitleFinder finder;
    if (bytewise)
        for (const char ch : c.page) finder.Feed(std::string_view(&ch, 1));
    else
        finder.Feed(c.page);
    return TitleText(finder.Raw(), c.charset);
}

TEST(PageTitle, IsTheTextABrowserShowsForTheFirstTitleOutsideComments) {
    const Case cases[] = {
        {"<html><head><TITLE>Home Page</TITLE></head>", "", "Home Page"},
        {"<title lang=en>  Two\r\n\tlines   here </title>", "", "Two lines here"},
        {"<!-- <title>Old</title> --><title>New</title>", "", "New"},
        {"<!-- a -- ><title>After an old-style comment end</title>", "", "After an old-style comment end"},
        {"<title>First</title><title>Second</title>", "", "First"},
        {"<html><body>No title here</body></html>", "", ""},
        {"<title></title>", "", ""},
        {"<title>Cut off at the end", "", "Cut off at the end"},
        // character references: named (Latin-1 ones even without ";"), decimal, hexadecimal
        {"<title>Fish &amp; Chips &lt;3&gt; &quot;q&quot;</title>", "", "Fish & Chips <3> \"q\""},
        {"<title>Caf&eacute; &Uuml;ber &yuml;&iquest;&times; &copy2024</title>", "",
         "Caf\xC3\xA9 \xC3\x9C"
         "ber \xC3\xBF\xC2\xBF\xC3\x97 \xC2\xA9"
         "2024"},
        {"<title>&#233;&#xE9;&#X263a;&#150;&#0;&#55296;</title>", "",
         "\xC3\xA9\xC3\xA9\xE2\x98\xBA\xE2\x80\x93\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"<title>&unknown; &amp &# &#x; AT&T</title>", "", "&unknown; & &# &#x; AT&T"},
        // single bytes: Latin-1 letters, and what windows-1252 puts at 0x80-0x9F
        {"<title>Caf\xE9 \x93quoted\x94 \x80 5\x96"
         "6</title>",
         "iso-8859-1",
         "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC 5\xE2\x80\x93"
         "6"},
        {"<title>a\x01\x7F\x81"
         "b</title>",
         "", "ab"},
        // UTF-8 where the cache says so and the bytes are UTF-8
        {"<title>Caf\xC3\xA9</title>", "UTF-8", "Caf\xC3\xA9"},
        {"<title>Caf\xC3\xA9</title>", "", "Caf\xC3\x83\xC2\xA9"},
        {"<title>Caf\xE9</title>", "utf-8", "Caf\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(FoundTitle(c, false), c.title);
        EXPECT_EQ(FoundTitle(c, true), c.title);
    }
}

}  // namespace
}  // namespace restash::test
