// Whole runs over caches whose pages write their links as people did: in
// single quotes, with Latin-1 letters and with "&amp;". In both index forms,
// with and without kept web addresses, every link to a copied target leads
// to its copy and the markup around it stays as the page wrote it.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/gif.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

const std::string kSite = "http://www.lumiere.example/";
const std::string kCafe = kSite + "caf\xe9.html";

std::string Home(const std::string& third, const std::string& gone) {
    return "<HTML><BODY>\r\n"
           "<A HREF='about.html'>About</A> <IMG SRC='logo.gif' ALT='Logo'>\r\n"
           "<A HREF=\"caf\xe9.html\">Caf\xe9</A> <A HREF=caf&eacute;.html>again</A>\r\n"
           "<A HREF=\"search.cgi?q=a&amp;page=2\">2</A> <A HREF='" + third + "'>3</A>\r\n"
           "<A HREF='" + gone + "' TARGET='_top'>gone</A>\r\n"
           "</BODY></HTML>\r\n";
}

std::string Emphasised(const std::string& anchor) { return "<BLINK>" + anchor + "</BLINK>"; }

class WrittenLinks : public ::testing::TestWithParam<std::tuple<IndexFormat, bool>> {};

TEST_P(WrittenLinks, LeadToTheLocalCopiesWithTheMarkupIntact) {
    const auto [format, keepAddresses] = GetParam();
    RunFixture f;
    f.settings.NotFoundURL = keepAddresses;
    const std::vector<NsObject> objects{
        Object(kSite, "text/html", Home("search.cgi?q=a&#38;page=3", "gone.html")),
        Object(kSite + "about.html", "text/html", "<TITLE>About</TITLE><A HREF='./'>home</A>"),
        Object(kCafe, "text/html", "<TITLE>Caf\xe9</TITLE>"),
        Object(kSite + "search.cgi?q=a&page=2", "text/html", "<TITLE>Two</TITLE>"),
        Object(kSite + "logo.gif", "image/gif", StripedGif(2, 2, 0, 0xFFFFFF)),
    };
    if (format == IndexFormat::HashIndex)
        f.HashCache(objects);
    else
        f.TextCache(objects);
    ASSERT_EQ(f.format, format);
    // The index lists the Latin-1 address whole, as a page.
    bool listed = false;
    for (const CacheEntry& e : f.entries) listed |= e.Url == kCafe && e.MimeType == "TEXT/HTML";
    EXPECT_TRUE(listed);
    WriteBytes(f.settings.HistPath, "");

    EXPECT_EQ(f.RunAnswering(Answer::No).ending, Ending::Finished);

    const std::string third = keepAddresses ? kSite + "search.cgi?q=a&amp;page=3" : "NOTFOUND";
    const std::string gone = keepAddresses ? kSite + "gone.html" : "NOTFOUND";
    std::string expected = Home(third, gone);
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"<A HREF='about.html'>", Emphasised("<A HREF='ABOUT.HTM'>")},
             {"SRC='logo.gif'", "SRC='MEDIA/LOGO.GIF'"},
             {"<A HREF=\"caf\xe9.html\">", Emphasised("<A HREF=\"CAF.HTM\">")},
             {"<A HREF=caf&eacute;.html>", Emphasised("<A HREF=CAF.HTM>")},
             {"<A HREF=\"search.cgi?q=a&amp;page=2\">", Emphasised("<A HREF=\"SEARCH.HTM\">")}})
        expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(f.Read("WWWLUMIE.HTM"), expected);
    EXPECT_EQ(f.Read("ABOUT.HTM"),
              "<TITLE>About</TITLE>" + Emphasised("<A HREF='WWWLUMIE.HTM'>") + "home</A>");
    EXPECT_NE(f.Read("HTMLIST").find(kCafe + "\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothFormsBothChoices, WrittenLinks,
                         ::testing::Combine(::testing::Values(IndexFormat::HashIndex, IndexFormat::TextIndex),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == IndexFormat::HashIndex ? "Hash" : "Text") +
                                    (std::get<1>(info.param) ? "KeepingAddresses" : "Marking");
                         });

}  // namespace
}  // namespace restash::test
