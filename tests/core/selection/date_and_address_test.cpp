#include <gtest/gtest.h>


#include "core/selection/date_window.h"
#include "core/selection/selection_options.h"
#include "core/selection/url_pattern.h"

namespace restash::test {
namespace {

TEST(UrlPattern, MatchesLikeTheShell) {
    struct Case {
        const char* pattern;
        const char* url;
        bool match;
    };
    for (const Case& c : std::vector<Case>{
             {"*", "", true},
             {"*", "http://a/b", true},
             {"http://a/*", "http://a/b/c.html", true},  // "*" crosses "/"
             {"*.gif", "http://a/b.GIF", false},         // letter case counts
             {"*.gif", "http://a/b.gif?x", false},
             {"http://?/", "http://a/", true},
             {"http://?/", "http://ab/", false},
             {"*[0-9].htm", "http://a/p7.htm", true},
             {"*[!0-9].htm", "http://a/p7.htm", false},
             {"*[^0-9].htm", "http://a/px.htm", true},
             {"*[]x]*", "http://a/]", true},              // "]" first in a set is itself
             {"*[abc", "http://a/[abc", true},            // an unclosed "[" stands for itself
             {"*\\*", "http://a/*", true},
             {"*\\*", "http://a/x", false},
             {"*a*b*c", "xaxxbxxxc", true},
             {"*a*b*c", "xaxxbxxxcx", false},
             {"caf\xe9*", "caf\xe9/", true},              // the cache's single bytes, byte by byte
             {"", "", true},
             {"", "x", false},
         })
        EXPECT_EQ(GlobMatch(c.pattern, c.url), c.match) << c.pattern << " ~ " << c.url;
    EXPECT_TRUE(MatchesAnyPattern("http://a/", {}));
    EXPECT_TRUE(MatchesAnyPattern("http://a/", {"x*", "http*"}));
    EXPECT_FALSE(MatchesAnyPattern("http://a/", {"x*", "y*"}));
}

TEST(DateWindow, DatesNameTheirWholeSpanInTheCachesZone) {
    struct Case {
        const char* text;
        std::int32_t gmt;
        std::int64_t first, last;
    };
    for (const Case& c : std::vector<Case>{
             {"1997-06-02", 0, 865209600, 865209600 + 86399},
             {"1997-06-02", 2, 865209600 - 7200, 865209600 + 86399 - 7200},
             {"1997-06-02", -5, 865209600 + 18000, 865209600 + 86399 + 18000},
             {"1997-06-02T10:15", 0, 865246500, 865246559},
             {"1997-06-02 10:15:30", 0, 865246530, 865246530},
             {"2000-02-29", 0, 951782400, 951868799},
             {"1969-12-31T23:59:59", 0, -1, -1},
         }) {
        const DateSpan span = ParseDateOption("--since", c.text, c.gmt);
        EXPECT_EQ(span.first, c.first) << c.text << " " << c.gmt;
        EXPECT_EQ(span.last, c.last) << c.text << " " << c.gmt;
    }
    for (const char* bad : {"", "1997", "1997-6-2", "1997-02-29", "1997-06-31", "1997-06-02T24:00", "1997-06-02T10",
                            "1997-06-02T10:60", "1997-06-02T10:15:30Z", "1997-06-02x"})
        EXPECT_THROW(ParseDateOption("--until", bad, 0), SelectionOptionError) << bad;
}

TEST(DateWindow, RangesAreSaidInTheCachesZone) {
    EXPECT_EQ(EntryDates({}), std::nullopt);
    CacheEntryList entries(3);
    entries[0].Stamp = 865209600;  // 1997-06-02T00:00:00Z
    entries[1].Stamp = 865207800;  // 1997-06-01T23:30:00Z
    entries[2].Stamp = 865220000;
    const StampRange range = *EntryDates(entries);
    EXPECT_EQ(range.first, 865207800);
    EXPECT_EQ(range.last, 865220000);
    EXPECT_EQ(DateRangeText(range, 0), "from 1997-06-01 to 1997-06-02");
    EXPECT_EQ(DateRangeText(range, 1), "on 1997-06-02");
    EXPECT_EQ(IsoUtcOf(865207800), "1997-06-01T23:30:00Z");
    EXPECT_EQ(IsoUtcOf(-5), "1969-12-31T23:59:55Z");
}

}  // namespace
}  // namespace restash::test
