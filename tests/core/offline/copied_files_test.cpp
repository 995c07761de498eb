// CopiedFiles and HistoryPaths answer from hash tables; these tests hold them
// to the walk from the first record on addresses that collide in every way a
// cache produces them: the same address in another letter case, exact
// repeats, and addresses that differ only past a shared prefix.
#include "core/offline/copied_files.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/platform/text.h"

namespace restash {
namespace {

// The definition: the path of the first record whose address matches
// without regard to ASCII case.
std::string WalkFind(const std::vector<CopiedFile>& records, std::string_view address) {
    for (const CopiedFile& r : records)
        if (EqualsNoCase(r.address, address)) return r.path;
    return {};
}

// An address from a few hosts and paths, each letter in a random case.
std::string RandomAddress(std::mt19937& rng) {
    static const char* hosts[] = {"www.a.example", "WWW.B.EXAMPLE", "c.example"};
    static const char* paths[] = {"/", "/index.html", "/Index.HTML", "/docs/page1.htm", "/docs/page1.html",
                                  "/img/logo.gif", "/q?id=1", "/q?ID=1&x=%7e"};
    std::string address = std::string("HTTP://") + hosts[rng() % 3] + paths[rng() % 8];
    for (char& c : address) {
        if (rng() % 2 == 0) continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return address;
}

TEST(CopiedFiles, TheFirstRecordOfAnAddressWinsWhateverItsCase) {
    CopiedFiles files;
    files.Add("HTTP://WWW.SITE.EXAMPLE/PAGE.HTML", "PAGE.HTM");
    files.Add("http://www.site.example/page.html", "PAGE1.HTM");
    files.Add("HTTP://WWW.SITE.EXAMPLE/PAGE.HTML", "PAGE2.HTM");
    EXPECT_EQ(files.Find("http://www.site.example/page.html"), "PAGE.HTM");
    EXPECT_EQ(files.Find("Http://Www.Site.Example/Page.Html"), "PAGE.HTM");
    EXPECT_EQ(files.Find("http://www.site.example/page.htm"), "");
    // Every record is kept, in copy order, for the index pages.
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files.records()[1].path, "PAGE1.HTM");

    files.clear();
    EXPECT_EQ(files.Find("http://www.site.example/page.html"), "");
    files.Add("http://www.site.example/page.html", "OTHER.HTM");
    EXPECT_EQ(files.Find("HTTP://WWW.SITE.EXAMPLE/PAGE.HTML"), "OTHER.HTM");
}

// One record from the copy to the index pages: the address links look up and
// the domain the index pages list it under are worked out when it is added.
TEST(CopiedFiles, ARecordKnowsItsAddressDomainAndWhetherItIsListed) {
    CopiedFiles files;
    const std::size_t page = files.AddPage("http://Host.Example:80/docs/", "DOCS.HTM", "Host.Example/docs/");
    files.Add("http://Host.Example:80/docs/logo.gif", "MEDIA/LOGO.GIF");
    const CopiedFile& p = files.records()[page];
    EXPECT_EQ(p.address, "HTTP://Host.Example/docs/");
    EXPECT_EQ(p.domain, "Host.Example");
    EXPECT_EQ(p.url, "http://Host.Example:80/docs/");
    EXPECT_TRUE(p.page);
    EXPECT_FALSE(p.listed);
    files.List(page, "Docs");
    EXPECT_TRUE(files.records()[page].listed);
    EXPECT_EQ(files.records()[page].title, "Docs");
    EXPECT_FALSE(files.records()[1].page);
    EXPECT_EQ(files.records()[1].domain, "Host.Example");
    EXPECT_EQ(files.Find("http://host.example/docs/logo.gif"), "MEDIA/LOGO.GIF");
}

TEST(CopiedFiles, LookUpsAgreeWithTheWalkOnManyCollisions) {
    std::mt19937 rng(7);
    CopiedFiles files;
    for (int i = 0; i < 400; ++i) {
        files.Add(RandomAddress(rng), "F" + std::to_string(i) + ".HTM");
        // Asked while the list grows too: a later record never takes over.
        const std::string probe = RandomAddress(rng);
        ASSERT_EQ(files.Find(probe), WalkFind(files.records(), probe)) << probe;
    }
    for (int i = 0; i < 400; ++i) {
        const std::string probe = RandomAddress(rng);
        EXPECT_EQ(files.Find(probe), WalkFind(files.records(), probe)) << probe;
    }
}

TEST(HistoryPaths, APathIsAddedOnceWhateverItsCaseAndKeepsItsFirstSpelling) {
    std::mt19937 rng(11);
    HistoryPaths paths;
    std::vector<std::string> walk;  // the definition: add when no entry matches without case
    for (int i = 0; i < 300; ++i) {
        const std::string path = RandomAddress(rng);
        bool there = false;
        for (const std::string& p : walk) there = there || EqualsNoCase(p, path);
        ASSERT_EQ(paths.Contains(path), there) << path;
        ASSERT_EQ(paths.Add(path), !there) << path;
        if (!there) walk.push_back(path);
        ASSERT_TRUE(paths.Contains(path));
    }
    EXPECT_EQ(paths.paths(), walk);
    paths.clear();
    EXPECT_FALSE(paths.Contains(walk.front()));
    EXPECT_TRUE(paths.paths().empty());
}

}  // namespace
}  // namespace restash
