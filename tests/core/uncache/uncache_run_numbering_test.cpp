// Numbered names at scale: the run remembers how far each run of numbered
// names is taken instead of trying base, base1, base2 ... from the start
// every time. These cases hold it to the search from 0 on series that run
// into each other (a numbered name of one series is the plain name of
// another, and numbers of more digits cut the bases to a shared prefix).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/platform/text.h"
#include "core/web/url.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

// The names the run must give: for each page in list order, the first of
// base, base1, base2 ... not yet taken.
std::vector<std::string> NamesBySearchFromZero(const std::vector<std::string>& urls) {
    std::set<std::string> taken{"HTMINDEX.HTM"};  // the placeholder index page
    std::vector<std::string> names;
    for (const std::string& url : urls) {
        const std::string base = MapURL(url, 255).baseName;
        for (unsigned k = 0;; ++k) {
            const std::string name = (k == 0 ? base : NumberedName(base, k)) + ".HTM";
            if (taken.insert(name).second) {
                names.push_back(name);
                break;
            }
        }
    }
    return names;
}

std::vector<std::string> ListedNames(const RunFixture& f) {
    const std::string list = f.Read("HTMLIST");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = list.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(list.substr(start, end - start));
    std::vector<std::string> names;
    for (std::size_t i = 2; i < lines.size(); i += 3) names.push_back(lines[i]);
    return names;
}

TEST(UncacheRunNumbering, SeriesThatRunIntoEachOtherGetTheNamesOfASearchFromZero) {
    // "ABCDEFGH" numbers into ABCDEFG1 ... ABCDEF10, the plain names of the
    // "abcdefg1" ... series; those in turn number into each other's names.
    std::vector<std::string> urls;
    for (int round = 0; round < 14; ++round) {
        urls.push_back("http://a.example/abcdefgh.html");
        urls.push_back("http://b.example/abcdefg" + std::to_string(round % 4 + 1) + ".html");
        if (round % 3 == 0) urls.push_back("http://c.example/x/ABCDEFGH.htm");
        if (round % 5 == 0) urls.push_back("http://c.example/abcdef1" + std::to_string(round % 2) + ".html");
    }
    // One base numbered past 100, with short bases that its numbers meet.
    for (int round = 0; round < 120; ++round) {
        urls.push_back("http://d.example/x.html");
        if (round % 7 == 0) urls.push_back("http://d.example/x" + std::to_string(round % 13) + ".html");
    }
    std::vector<NsObject> objects;
    for (const std::string& url : urls) objects.push_back(Object(url, "text/html", "<P>" + url + "</P>\r\n"));
    RunFixture f;
    f.TextCache(objects);
    WriteBytes(f.settings.HistPath, "");
    f.RunAnswering(Answer::No);

    const std::vector<std::string> expected = NamesBySearchFromZero(urls);
    ASSERT_EQ(ListedNames(f), expected);
    // Each page landed under its own name.
    for (std::size_t i = 0; i < urls.size(); ++i)
        EXPECT_NE(f.Read(expected[i]).find(urls[i]), std::string::npos) << expected[i];
}

}  // namespace
}  // namespace restash::test
