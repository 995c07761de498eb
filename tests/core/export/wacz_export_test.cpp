// The export as a WACZ package, with response records and the browser's
// addresses. The package is read back with Info-ZIP's unzip and the JSON
// with nlohmann-json, neither of which shares code with the writers.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/export/digest_text.h"
#include "core/export/sha256.h"
#include "core/export/wacz_writer.h"
#include "core/export/warc_writer.h"
#include "core/platform/error.h"
#include "export_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "warc_reading.h"

namespace restash::test {
namespace {

using nlohmann::json;

std::string Sha256Label(const std::string& bytes) {
    Sha256 h;
    h.Update(bytes);
    return "sha256:" + Hex(h.Final());
}

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class WaczExportTest : public ExportFixture {
protected:
    WaczExportTest() {
        Add("HTTP://WWW.Example.COM:80/", "M0000001.HTM", "TEXT/HTML",
            "<html><title>Caf\xE9 &amp; Bar</title><img src=logo.gif></html>", 850000000);
        Add("http://img.example.com/logo.gif", "M0000002.GIF", "IMAGE/GIF", "GIF89a....", 850000100);
        Add("http://www.example.com/docs/./a.html?q=1#top", "M0000003.HTM", "TEXT/HTML", "<p>no title",
            850000200);
        Add("http://www.example.com/gone.html", "M0000004.HTM", "TEXT/HTML", "", 850000300);
        std::filesystem::remove(cache_ / "M0000004.HTM");
        selection_.Domains.Add("www.example.com");
        selection_.Domains.Add("img.example.com");
        options_.warcPath = out_ / "cache.warc.gz";
        options_.waczPath = out_ / "cache.wacz";
        options_.cdxjPath = out_ / "cache.cdxj";
        options_.sourceCacheName = cache_ / "FAT.DB";
        options_.createdAt = 1700000000;
    }

    // A member of the package, as unzip extracts it.
    std::string Member(const std::string& name) const {
        const std::string command =
            "unzip -p '" + *options_.waczPath + "' '" + name + "' > '" + out_ / "member" + "' 2>/dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name;
        return ReadBytes(out_ / "member");
    }

    std::vector<ReadRecord> ArchiveInPackage() const {
        WriteBytes(out_ / "inner.warc.gz", Member("archive/data.warc.gz"));
        return ReadWarc(out_ / "inner.warc.gz");
    }
};

TEST_F(WaczExportTest, PackageNamesEveryFileWithItsHashAndSize) {
    const ExportReport summary = Export();
    EXPECT_EQ(summary.archived, 3u);
    EXPECT_EQ(summary.pages, 2u);
    const json package = json::parse(Member("datapackage.json"));
    EXPECT_EQ(package["profile"], "data-package");
    EXPECT_EQ(package["wacz_version"], "1.1.1");
    EXPECT_EQ(package["created"], "2023-11-14T22:13:20Z");
    EXPECT_EQ(package["title"], "Restash export of " + options_.sourceCacheName);
    EXPECT_TRUE(package["software"].get<std::string>().starts_with("Restash 0."));
    std::vector<std::string> paths;
    for (const json& r : package["resources"]) {
        const std::string bytes = Member(r["path"]);
        paths.push_back(r["path"]);
        EXPECT_EQ(r["hash"], Sha256Label(bytes)) << r["path"];
        EXPECT_EQ(r["bytes"], bytes.size()) << r["path"];
    }
    EXPECT_EQ(paths,
              (std::vector<std::string>{"archive/data.warc.gz", "indexes/index.cdxj", "pages/pages.jsonl"}));
    const json digest = json::parse(Member("datapackage-digest.json"));
    EXPECT_EQ(digest["path"], "datapackage.json");
    EXPECT_EQ(digest["hash"], Sha256Label(Member("datapackage.json")));

    // The archive is the one written beside it; the index names it as the package does.
    EXPECT_EQ(Member("archive/data.warc.gz"), ReadBytes(options_.warcPath));
    std::string index = ReadBytes(*options_.cdxjPath);
    for (std::size_t at; (at = index.find("\"cache.warc.gz\"")) != std::string::npos;)
        index.replace(at, 15, "\"data.warc.gz\"");
    EXPECT_EQ(Member("indexes/index.cdxj"), index);
}

TEST_F(WaczExportTest, PagesListEveryArchivedPageWithAddressDateAndTitle) {
    Export();
    const std::vector<std::string> lines = Lines(Member("pages/pages.jsonl"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(json::parse(lines[0]),
              json::parse(R"({"format": "json-pages-1.0", "id": "pages", "title": "All Pages"})"));
    const json home = json::parse(lines[1]);
    const json docs = json::parse(lines[2]);
    EXPECT_EQ(home["url"], "http://www.example.com/");
    EXPECT_EQ(home["ts"], "1996-12-07T23:06:40Z");
    EXPECT_EQ(home["title"], "Caf\xC3\xA9 & Bar");
    EXPECT_EQ(docs["url"], "http://www.example.com/docs/a.html?q=1");
    EXPECT_FALSE(docs.contains("title"));
    // An identifier is its record's UUID.
    const auto records = ArchiveInPackage();
    std::string id = records[1].Field("WARC-Record-ID");
    id.erase(std::remove(id.begin(), id.end(), '-'), id.end());
    EXPECT_EQ(id, "<urn:uuid:" + home["id"].get<std::string>() + ">");

    const json package = json::parse(Member("datapackage.json"));
    EXPECT_EQ(package["mainPageUrl"], "http://www.example.com/");
    EXPECT_EQ(package["mainPageDate"], "1996-12-07T23:06:40Z");
}

TEST_F(WaczExportTest, TheMainPageIsTheOneHomePageOrTheOnlyPage) {
    struct Case {
        std::vector<std::pair<std::string, std::int32_t>> pages;
        std::optional<std::size_t> main;
    };
    const Case cases[] = {
        {{{"http://a.example/x.html", 1}, {"http://a.example/", 2}}, 1},
        {{{"http://a.example/", 5}, {"http://a.example/", 9}, {"http://a.example/x", 1}}, 1},  // the latest
        {{{"http://a.example/", 1}, {"http://b.example/", 2}}, std::nullopt},                  // two sites
        {{{"http://a.example/?q=1", 1}, {"http://a.example/x", 2}}, std::nullopt},             // no home page
        {{{"http://a.example/x", 1}, {"http://a.example/x", 3}}, 1},                           // one address
        {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<WaczPage> pages;
        for (const auto& [url, stamp] : c.pages) pages.push_back({url, stamp, "", ""});
        EXPECT_EQ(MainPage(pages), c.main) << (c.pages.empty() ? "none" : c.pages[0].first);
    }
}

TEST_F(WaczExportTest, AStoredResponseHeadMakesAResponseRecord) {
    entries_[0].ResponseHead = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 999\r\n";
    entries_[1].ResponseHead = "HTTP/1.1 404 Not Found\r\n\r\n";
    Export();
    const auto records = ReadWarc(options_.warcPath);
    ASSERT_EQ(records.size(), 7u);
    const std::string body = ReadBytes(cache_ / "M0000001.HTM");
    const ReadRecord& page = records[1];
    EXPECT_EQ(page.Field("WARC-Type"), "response");
    EXPECT_EQ(page.Field("Content-Type"), "application/http; msgtype=response");
    EXPECT_EQ(page.block, *entries_[0].ResponseHead + "\r\n" + body);
    EXPECT_EQ(page.Field("WARC-Payload-Digest"), Sha1Label(body));
    EXPECT_EQ(page.Field("WARC-Block-Digest"), Sha1Label(page.block));
    EXPECT_EQ(records[3].block, "HTTP/1.1 404 Not Found\r\n\r\nGIF89a....");
    for (const std::size_t meta : {2u, 4u}) {
        EXPECT_EQ(records[meta].Field("WARC-Type"), "metadata");
        EXPECT_EQ(records[meta].Field("WARC-Refers-To"), records[meta - 1].Field("WARC-Record-ID"));
    }
    // Without a head, a resource record as before.
    EXPECT_EQ(records[5].Field("WARC-Type"), "resource");
    EXPECT_EQ(records[5].Field("Content-Type"), "text/html");

    const std::string index = ReadBytes(*options_.cdxjPath);
    EXPECT_NE(index.find("\"mime\": \"image/gif\", \"status\": \"404\""), std::string::npos) << index;
    EXPECT_NE(index.find("\"mime\": \"text/html\", \"status\": \"200\""), std::string::npos) << index;
    EXPECT_EQ(std::count(index.begin(), index.end(), '\n'), 3);
}

TEST_F(WaczExportTest, RecordsAreFiledUnderTheBrowsersAddressAndKeepTheCachesOwn) {
    // Two cache entries that are one address for a browser: both archived, both indexed.
    Add("http://www.example.COM/", "M0000005.HTM", "TEXT/HTML", "<title>Again</title>", 850000400);
    options_.manifestPath = out_ / "cache.json";
    Export();
    const auto records = ReadWarc(options_.warcPath);
    ASSERT_EQ(records.size(), 9u);
    const std::pair<std::size_t, const char*> uris[] = {{1, "http://www.example.com/"},
                                                        {3, "http://img.example.com/logo.gif"},
                                                        {5, "http://www.example.com/docs/a.html?q=1"},
                                                        {7, "http://www.example.com/"}};
    for (const auto& [at, uri] : uris) {
        EXPECT_EQ(records[at].Field("WARC-Target-URI"), uri);
        EXPECT_EQ(records[at + 1].Field("WARC-Target-URI"), uri);
    }
    const auto facts = ParseWarcFields(records[6].block);
    ASSERT_GE(facts.size(), 2u);
    EXPECT_EQ(facts[1], (std::pair<std::string, std::string>{
                            "cache-url", "http://www.example.com/docs/./a.html?q=1#top"}));

    const std::vector<std::string> index = Lines(ReadBytes(*options_.cdxjPath));
    ASSERT_EQ(index.size(), 4u);
    EXPECT_EQ(std::count_if(index.begin(), index.end(),
                            [](const std::string& l) { return l.starts_with("com,example)/ "); }),
              2);
    const std::vector<std::string> pages = Lines(Member("pages/pages.jsonl"));
    EXPECT_EQ(pages.size(), 1u + 3);

    const json manifest = json::parse(ReadBytes(*options_.manifestPath));
    EXPECT_EQ(manifest[0]["url"], "HTTP://WWW.Example.COM:80/");
    EXPECT_EQ(manifest[0]["archive_url"], "http://www.example.com/");
    EXPECT_EQ(manifest[3]["archive_url"], "http://www.example.com/gone.html");
}

TEST_F(WaczExportTest, AFailedOrStoppedExportLeavesNoPackageBehind) {
    WriteBytes(*options_.waczPath, "old");
    const std::vector<std::string> before = OutputFolder();

    FaultyFileSystem full;
    full.failWritesTo = TemporaryNameFor(*options_.waczPath);
    full.writeBudget = 500;
    EXPECT_THROW(Export(full), FileError);
    EXPECT_EQ(OutputFolder(), before);

    progress_.stopAt = 2;
    EXPECT_EQ(Export().ending, Ending::Stopped);
    EXPECT_EQ(OutputFolder(), before);
    EXPECT_EQ(ReadBytes(*options_.waczPath), "old");

    // A package alone is enough; an index needs an archive file to point into.
    progress_.stopAt = 0;
    options_.warcPath.clear();
    options_.cdxjPath.reset();
    EXPECT_EQ(Export().archived, 3u);
    EXPECT_EQ(ArchiveInPackage()[0].Field("WARC-Filename"), "data.warc.gz");
    options_.cdxjPath = out_ / "cache.cdxj";
    EXPECT_THROW(Export(), FileError);
    options_.waczPath.reset();
    options_.cdxjPath.reset();
    EXPECT_THROW(Export(), Error);
}

}  // namespace
}  // namespace restash::test
