// The index writers at their edges: one domain, no domain, title limits,
// media sorting, and what is left on disk when a write fails.
#include <gtest/gtest.h>

#include "core/index/frameset_index.h"
#include "core/index/media_lists.h"
#include "core/index/page_index.h"
#include "core/index/title_charset.h"
#include "core/platform/error.h"
#include "index_fixture.h"

namespace restash::test {
namespace {

class IndexEdges : public ::testing::Test, public IndexFixture {};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(IndexEdges, OneDomainWithTwoPagesAndAGif) {
    PageList(Records({{"http://host.example/", "Home", "INDEX.HTM"}, {"http://host.example/b.html", "B", "B.HTM"}}));
    Copied("HTTP://host.example/logo.gif", "MEDIA/LOGO.GIF");

    WriteFramesetIndex(Inputs({"host.example"}));
    const std::string page = Read("0.RSH");
    EXPECT_TRUE(Contains(page, "<A HREF=0.RSH TARGET=_self><IMG BORDER=0 SRC=MEDIA/INDEX.GIF>"));
    EXPECT_TRUE(Contains(page, "<A HREF=0.RSH TARGET=_self><IMG BORDER=0 SRC=MEDIA/RIGHT.GIF>"));
    EXPECT_TRUE(Contains(page, "<TR><TD WIDTH=1%>1</TD><TD><A HREF=INDEX.HTM>"));
    EXPECT_TRUE(Contains(page, "<TR><TD WIDTH=1%>2</TD><TD><A HREF=B.HTM>"));
    EXPECT_TRUE(Contains(page, "Image Index - 1 image(s) uncached."));
    EXPECT_TRUE(Contains(Read("0.RSI"), "<TR><TD><A HREF=MEDIA/LOGO.GIF>LOGO.GIF</A></TD></TR>\r\n"));

    WritePageIndex(Inputs({"host.example"}));
    const std::string single = Read("0.RSH");
    EXPECT_TRUE(Contains(single, "<A HREF=0.RSH><IMG BORDER=0 SRC=MEDIA/DOMAINUP.GIF>"));
    EXPECT_TRUE(Contains(single, "<A HREF=0.RSH><IMG BORDER=0 SRC=MEDIA/DOMAINDN.GIF>"));
}

TEST_F(IndexEdges, NoDomainsStillWritesTheIndex) {
    PageList("");
    WriteFramesetIndex(Inputs({}));
    EXPECT_EQ(Read("DOMAINS.RSH"),
              "<HTML><BASE TARGET=PAGES><BODY BGCOLOR=#C0C0C0><CENTER>\r\n"
              "<TABLE BORDER=0 CELLPADDING=0>\r\n"
              "<TR><TH><FONT SIZE=+3>Domains</FONT></TH></TR></TABLE></CENTER></BODY></HTML>\r\n");
    EXPECT_FALSE(FileExists(dir / "0.RSH"));

    PageList("");
    WritePageIndex(Inputs({}));
    const std::string index = Read("HTMINDEX.HTM");
    EXPECT_TRUE(Contains(index, "Cached Domains</FONT></TH></TR>\r\n</TABLE></CENTER></BODY>\r\n"));
}

TEST_F(IndexEdges, TitlesAreCutAtTheirLimitsOnly) {
    const std::string t254(254, 'x'), t41 = std::string(40, 'y') + "z";
    PageList(Records({{"http://h.example/1", t254, "A.HTM"}, {"http://h.example/2", t41, "B.HTM"}}));
    WriteFramesetIndex(Inputs({"h.example"}));
    EXPECT_TRUE(Contains(Read("0.RSH"), "<FONT SIZE=4>" + t254 + "</FONT>"));

    PageList(Records({{"http://h.example/1", t254, "A.HTM"}, {"http://h.example/2", t41, "B.HTM"}}));
    WritePageIndex(Inputs({"h.example"}));
    const std::string page = Read("0.RSH");
    EXPECT_TRUE(Contains(page, "<A HREF=A.HTM>" + std::string(37, 'x') + "...</A>"));
    EXPECT_TRUE(Contains(page, "<A HREF=B.HTM>" + std::string(37, 'y') + "...</A>"));
}

// Titles (UTF-8) are written in windows-1252 while every title of the page
// fits it, so a page of Latin-1 titles stays as it always was; otherwise the
// page is UTF-8 and says so before its first line. Titles are cut by
// characters, not bytes.
TEST_F(IndexEdges, TitlesAreWrittenInACharsetThePageDeclaresWhereItMust) {
    struct Case {
        std::string title;
        std::string shown;  // in the single-page form's 40-character column
        bool declared;
    };
    const std::string euro40 = "\xE2\x82\xAC" + std::string(39, 'e');
    const Case cases[] = {
        {"Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D", "Caf\xE9 \x93q\x94", false},
        {euro40, "\x80" + std::string(39, 'e'), false},
        {euro40 + "x", "\x80" + std::string(36, 'e') + "...", false},
        {"\xD0\x9C\xD0\xB8\xD1\x80 \xE6\x97\xA5", "\xD0\x9C\xD0\xB8\xD1\x80 \xE6\x97\xA5", true},
        {std::string(37, 'a') + "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5",
         std::string(37, 'a') + "...", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        PageList(Records({{"http://h.example/caf\xE9", c.title, "A.HTM"}, {"http://h.example/2", "Two", "B.HTM"}}));
        WritePageIndex(Inputs({"h.example"}));
        const std::string page = Read("0.RSH");
        EXPECT_TRUE(Contains(page, "<A HREF=A.HTM>" + c.shown + "</A>")) << page;
        EXPECT_EQ(page.rfind(TitleCharset::kDeclaration, 0) == 0, c.declared);
        // The address is the cache's Latin-1 bytes, in the page's charset.
        EXPECT_TRUE(Contains(page, c.declared ? "/caf\xC3\xA9>" : "/caf\xE9>"));
        PageList(Records({{"http://h.example/caf\xE9", c.title, "A.HTM"}}));
        WriteFramesetIndex(Inputs({"h.example"}));
        EXPECT_EQ(Read("0.RSH").rfind(TitleCharset::kDeclaration, 0) == 0, c.declared);
    }
}

TEST_F(IndexEdges, PagesOfOneDomainKeepListOrderAmongOthers) {
    // Interleaved domains: each page lists its own pages numbered in list order.
    PageList(Records({{"http://a.example/1", "A1", "A1.HTM"},
                      {"http://b.example/1", "B1", "B1.HTM"},
                      {"http://a.example/2", "A2", "A2.HTM"},
                      {"http://b.example/2", "B2", "B2.HTM"}}));
    WritePageIndex(Inputs({"a.example", "b.example"}));
    const std::string a = Read("0.RSH"), b = Read("1.RSH");
    EXPECT_LT(a.find("<TD>1</TD><TD><A HREF=A1.HTM>"), a.find("<TD>2</TD><TD><A HREF=A2.HTM>"));
    EXPECT_EQ(a.find("B1.HTM"), std::string::npos);
    EXPECT_LT(b.find("<TD>1</TD><TD><A HREF=B1.HTM>"), b.find("<TD>2</TD><TD><A HREF=B2.HTM>"));
}

TEST(MediaLists, SortWithoutLetterCaseAndKeepTheFirstOfEqualNames) {
    CopiedFiles files;
    files.Add("HTTP://m.example/1", "MEDIA/b.GIF");
    files.Add("HTTP://m.example/2", "MEDIA/_X.GIF");
    files.Add("HTTP://m.example/3", "MEDIA/A.GIF");
    files.Add("HTTP://m.example/4", "MEDIA/B.GIF");  // equal to b.GIF without case: left out
    files.Add("HTTP://m.example/5", "MEDIA/a.gif");  // extensions compare exactly: not media
    files.Add("HTTP://m.example/6", "OTHERS/V.AU");
    files.Add("HTTP://M.example/7", "MEDIA/C.GIF");  // another domain by letter case
    const MediaByDomain media = CollectMedia(files);
    EXPECT_EQ(media.at("m.example"), (std::vector<std::string>{"MEDIA/A.GIF", "MEDIA/b.GIF", "MEDIA/_X.GIF", "OTHERS/V.AU"}));
    EXPECT_EQ(media.at("M.example"), (std::vector<std::string>{"MEDIA/C.GIF"}));
}

// Fails every file created for one target, as a full disk would.
class FailingFor final : public FileSystem {
public:
    explicit FailingFor(std::string target) : target_(std::move(target)) {}
    std::unique_ptr<OutputFile> Create(const std::string& path) override {
        if (path.rfind(target_, 0) == 0) throw FileError(path, "Disk full");
        return RealFileSystem().Create(path);
    }
    std::unique_ptr<OutputFile> Append(const std::string& path) override { return RealFileSystem().Append(path); }
    void Rename(const std::string& from, const std::string& to) override { RealFileSystem().Rename(from, to); }
    void Remove(const std::string& path) override { RealFileSystem().Remove(path); }
    void CopyFile(const std::string& from, const std::string& to) override { RealFileSystem().CopyFile(from, to); }
    void CreateDirectories(const std::string& path) override { RealFileSystem().CreateDirectories(path); }
    void RemoveDirectory(const std::string& path) override { RealFileSystem().RemoveDirectory(path); }

private:
    std::string target_;
};

TEST_F(IndexEdges, AFailedWriteKeepsTheOldFileAndNamesTheNewOne) {
    PageList(Records({{"http://a.example/", "A", "A.HTM"}, {"http://b.example/", "B", "B.HTM"}}));
    WriteBytes(dir / "1.RSH", "the old page\r\n");
    FailingFor fs(dir / "1.RSH");
    try {
        WritePageIndex(Inputs({"a.example", "b.example"}, fs));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path().rfind(dir / "1.RSH", 0), 0u) << e.path();
    }
    EXPECT_EQ(Read("1.RSH"), "the old page\r\n");
    EXPECT_TRUE(Contains(Read("0.RSH"), "<A HREF=A.HTM>A</A>"));
    for (const auto& [name, bytes] : FilesIn(dir.path())) EXPECT_EQ(name.find(".restash-new"), std::string::npos) << name;
}

// The pages come from the run's records: a page that was copied but not
// converted is not listed, and an address with a line break in it (a hash
// index can hold one) cannot shift the records after it.
TEST_F(IndexEdges, OnlyConvertedPagesAreListedWhateverTheirAddressHolds) {
    files.AddPage("http://a.example/unconverted", "U.HTM", "");
    files.List(files.AddPage("http://a.example/two\nlines", "T.HTM", ""), "Two");
    files.List(files.AddPage("http://a.example/after", "A.HTM", ""), "After");
    WritePageIndex(Inputs({"a.example"}));
    const std::string page = Read("0.RSH");
    EXPECT_FALSE(Contains(page, "U.HTM"));
    EXPECT_TRUE(Contains(page, "<TD>1</TD><TD><A HREF=T.HTM>Two</A>"));
    EXPECT_TRUE(Contains(page, "<TD>2</TD><TD><A HREF=A.HTM>After</A>"));
}

TEST_F(IndexEdges, AShortLastRecordAndBareLineFeedsAreRead) {
    PageList("http://a.example/x\nTitle X\nX.HTM\nhttp://a.example/y\r\nTitle Y");
    WritePageIndex(Inputs({"a.example"}));
    const std::string page = Read("0.RSH");
    EXPECT_TRUE(Contains(page, "<TD>1</TD><TD><A HREF=X.HTM>Title X</A>"));
    EXPECT_TRUE(Contains(page, "<TD>2</TD><TD><A HREF=>Title Y</A>"));
}

}  // namespace
}  // namespace restash::test
