// Both index forms written from a known page list and set of copied files,
// compared byte for byte with the expected files under tests/data/index/.
#include <gtest/gtest.h>

#include "core/index/frameset_index.h"
#include "core/index/page_index.h"
#include "index_fixture.h"

namespace restash::test {
namespace {

void ExpectSameFiles(const std::string& expectedFolder, const std::string& actualFolder) {
    const auto expected = FilesIn(expectedFolder);
    const auto actual = FilesIn(actualFolder);
    std::vector<std::string> expectedNames, actualNames;
    for (const auto& [name, bytes] : expected) expectedNames.push_back(name);
    for (const auto& [name, bytes] : actual) actualNames.push_back(name);
    ASSERT_EQ(actualNames, expectedNames);
    for (const auto& [name, bytes] : expected) EXPECT_EQ(actual.at(name), bytes) << name;
}

// Three domains (arrows wrap both ways), a 255-character title, a page whose
// domain differs in letter case from a chosen one, media in MEDIA/ and
// OTHERS/, a domain without media and one without pages.
class FramesetGolden : public ::testing::Test, public IndexFixture {
protected:
    void SetUp() override {
        PageList(ReadBytes(DataPath("index/frameset/HTMINDEX.in")));
        WriteBytes(dir / "RESULTS.RSH", "results of an earlier search\r\n");
        Copied("HTTP://alpha.example/index.html", "INDEX.HTM");
        Copied("HTTP://alpha.example/img/logo.gif", "MEDIA/LOGO.GIF");
        Copied("HTTP://alpha.example/world.wrl", "OTHERS/WORLD.WRL");
        Copied("HTTP://alpha.example/doc.txt", "DOC.TXT");
        Copied("HTTP://alpha.example/img/b.jpg", "MEDIA/B.JPG");
        Copied("HTTP://gamma.example/snd.au", "MEDIA/SND.AU");
        Copied("HTTP://Gamma.example/pic.gif", "MEDIA/PIC.GIF");
        Copied("HTTP://beta.example/x.gif", "MEDIA/X.GIF");
    }
    std::vector<std::string> domains{"alpha.example", "Beta.example", "gamma.example"};
};

TEST_F(FramesetGolden, WritesEveryFileExactly) {
    WriteFramesetIndex(Inputs(domains));
    ExpectSameFiles(DataPath("index/frameset/expected"), dir.path());
}

TEST_F(FramesetGolden, MovesTheGaugePerDomainAndListensBetweenRows) {
    WriteFramesetIndex(Inputs(domains));
    EXPECT_EQ(progress.gauges, (std::vector<int>{33, 66, 100}));
    // Once before the domain list, once after each of the three page rows.
    EXPECT_EQ(progress.processCalls, 4);
}

TEST_F(FramesetGolden, AStopRequestDoesNotInterruptIt) {
    progress.stopAt = 1;
    WriteFramesetIndex(Inputs(domains));
    ExpectSameFiles(DataPath("index/frameset/expected"), dir.path());
}

// Two domains (both arrows of each page lead to the other), title and
// address cuts on both sides of their limits, a domain without media.
class PageGolden : public ::testing::Test, public IndexFixture {
protected:
    void SetUp() override {
        clock.Set(1005523620);  // Monday, November 12, 2001 00:07 UTC: midnight shows as 12 AM
        PageList(ReadBytes(DataPath("index/page/HTMINDEX.in")));
        Copied("HTTP://host.example/page.html", "PAGE.HTM");
        Copied("HTTP://host.example/pic.gif", "MEDIA/PIC.GIF");
        Copied("HTTP://host.example/anim.avi", "MEDIA/ANIM.AVI");
        Copied("HTTP://other.example/readme.txt", "README.TXT");
    }
    std::vector<std::string> domains{"host.example", "other.example"};
};

TEST_F(PageGolden, WritesEveryFileExactly) {
    WritePageIndex(Inputs(domains));
    ExpectSameFiles(DataPath("index/page/expected"), dir.path());
}

TEST_F(PageGolden, MovesTheGaugePerDomainAndListensOncePerRow) {
    WritePageIndex(Inputs(domains));
    EXPECT_EQ(progress.gauges, (std::vector<int>{50, 100}));
    EXPECT_EQ(progress.processCalls, 4);
}

}  // namespace
}  // namespace restash::test
