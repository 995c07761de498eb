// A WACZ export replayed in ReplayWeb.page: a cache with the addresses old
// caches hold (upper-case hosts, an explicit :80, dot segments, a query, a
// Latin-1 letter) is exported, and tests/browser/replay/replay.js serves the
// package with ReplayWeb.page on 127.0.0.1 and drives headless Chromium over
// it: the page list must show every page, and each page must replay with its
// cached title, its text and its cached image. A Mozilla disk cache's
// export, made of response records, is replayed the same way.
//
// The npm packages are installed into the build tree by scripts/test.sh
// (build/replay); without them the test is skipped, unless
// RESTASH_REQUIRE_REPLAY is set. Where Chromium cannot start it is skipped.
// RESTASH_REPLAY_SCREENSHOT names a PNG to take of a replayed page.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "core/cache/cache_source.h"
#include "core/cache/netscape_source.h"
#include "core/export/export_archive.h"
#include "core/platform/progress.h"
#include "tests/support/gif.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

struct Page {
    const char* cacheUrl;
    const char* title;       // as the page's TITLE holds it (Latin-1, references)
    const char* shownTitle;  // as a browser shows it (UTF-8)
    const char* browserUrl;  // the address a browser asks for
    const char* image;       // the image's address as the page writes it; empty: none
    const char* imageUrl;    // the address a browser asks for it
};

// Dates: each page a minute after the one before, from 1997-06-01.
constexpr std::int32_t kFirstStamp = 865123200;
const char* const kStamp14[] = {"19970601000000", "19970601000100", "19970601000200", "19970601000300",
                                "19970601000400", "19970601000500", "19970601000600", "19970601000700",
                                "19970601000800", "19970601000900"};

const Page kPages[] = {
    {"http://Site1.Example.COM/", "Caf\xE9 One &amp; Co", "Caf\xC3\xA9 One & Co", "http://site1.example.com/",
     "http://Site1.Example.COM/pics/logo.gif", "http://site1.example.com/pics/logo.gif"},
    {"http://www.site3.example:80/", "Site Three Home", "Site Three Home", "http://www.site3.example/",
     "pics/photo.gif", "http://www.site3.example/pics/photo.gif"},
    {"http://www.site3.example/docs/./guide.html", "The Guide", "The Guide",
     "http://www.site3.example/docs/guide.html", "../pics/photo.gif",
     "http://www.site3.example/pics/photo.gif"},
    {"http://Shop.Example.com/cgi-bin/view?item=42&Color=Red", "Item 42", "Item 42",
     "http://shop.example.com/cgi-bin/view?item=42&Color=Red", "", ""},
    {"http://site1.example.com/about.html", "About  Site\r\nOne", "About Site One",
     "http://site1.example.com/about.html", "/pics/logo.gif", "http://site1.example.com/pics/logo.gif"},
    {"http://www.site3.example/docs/../news.html", "News", "News", "http://www.site3.example/news.html", "",
     ""},
    {"http://site2.example/caf\xE9.html", "Le caf\xE9", "Le caf\xC3\xA9",
     "http://site2.example/caf%C3%A9.html", "", ""},
    {"http://SITE2.EXAMPLE/index.html?lang=en", "Site Two", "Site Two",
     "http://site2.example/index.html?lang=en", "", ""},
    {"http://site2.example/Mixed/Case/Path.HTML", "Mixed Case", "Mixed Case",
     "http://site2.example/Mixed/Case/Path.HTML", "", ""},
    {"http://Site1.Example.COM:80/./products/", "Products", "Products", "http://site1.example.com/products/",
     "", ""},
};

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Json(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

// The cache: the pages, their two images and one page's stylesheet.
std::vector<NsObject> CacheObjects() {
    std::vector<NsObject> objects;
    int n = 0;
    for (const Page& p : kPages) {
        NsObject o;
        o.url = p.cacheUrl;
        o.mimeType = "text/html";
        o.fileName = "M00000" + std::to_string(10 + n) + ".HTM";
        o.body = std::string("<html><head><title>") + p.title + "</title></head><body><h1>Text of page " +
                 std::to_string(n + 1) + "</h1>" +
                 (*p.image ? std::string("<img src=\"") + p.image + "\">" : "") + "</body></html>\n";
        o.lastAccessed = kFirstStamp + 60 * n++;
        o.version = 5;
        objects.push_back(o);
    }
    const std::pair<const char*, std::uint32_t> images[] = {
        {"http://Site1.EXAMPLE.com/pics/logo.gif", 0xCC2200},
        {"http://www.site3.example:80/pics/photo.gif", 0x0044CC}};
    for (const auto& [url, ink] : images) {
        NsObject o;
        o.url = url;
        o.mimeType = "image/gif";
        o.fileName = "M00000" + std::to_string(10 + n++) + ".GIF";
        o.body = StripedGif(120, 60, ink, 0xFFFFFF);
        o.lastAccessed = kFirstStamp;
        objects.push_back(o);
    }
    return objects;
}

std::string Expected() {
    std::string listed, replayed;
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        const Page& p = kPages[i];
        listed += std::string(i ? ", " : "") + Json(p.shownTitle);
        replayed += std::string(i ? ",\n  " : "") + "{\"url\": " + Json(p.browserUrl) + ", \"ts\": \"" +
                    kStamp14[i] + "\", \"title\": " + Json(p.shownTitle) + ", \"text\": \"Text of page " +
                    std::to_string(i + 1) + "\", \"image\": " + Json(p.imageUrl) + "}";
    }
    return "{\"listed\": [" + listed + "],\n \"replayed\": [" + replayed + "],\n \"screenshot\": 0}\n";
}

// Whether ReplayWeb.page and puppeteer are installed; fails the test where
// they must be.
bool ReplayInstalled(const std::string& modules) {
    if (std::filesystem::exists(modules + "/replaywebpage/sw.js") && std::filesystem::exists(modules + "/puppeteer-core"))
        return true;
    if (std::getenv("RESTASH_REQUIRE_REPLAY")) ADD_FAILURE() << "ReplayWeb.page is not installed in " << modules;
    return false;
}

// Exports every entry source reads into dir/cache.wacz and has replay.js
// check it against expected; pages: how many it must list and replay.
void ExportAndReplay(const TempDir& dir, const CacheSource& source, const std::string& expected, std::size_t pages,
                     std::size_t archived) {
    const std::string modules = std::string(RESTASH_BINARY_DIR) + "/replay/node_modules";
    CacheEntryList entries;
    NullProgress quiet;
    source.Read(entries, quiet);
    Selection everything;
    for (const CacheEntry& e : entries) everything.Domains.Add(e.Domain);
    everything.IncludeOther = true;
    ExportOptions options;
    options.waczPath = dir / "cache.wacz";
    options.sourceCacheName = source.Location();
    options.createdAt = 1700000000;
    const ExportReport summary = ExportArchive(entries, everything, source, options, quiet, RealFileSystem());
    ASSERT_EQ(summary.archived, archived);
    ASSERT_EQ(summary.pages, pages);
    WriteBytes(dir / "expected.json", expected);
    if (const char* keep = std::getenv("RESTASH_REPLAY_KEEP")) {  // for running replay.js by hand
        std::filesystem::copy_file(*options.waczPath, std::string(keep) + "/cache.wacz",
                                   std::filesystem::copy_options::overwrite_existing);
        WriteBytes(std::string(keep) + "/expected.json", expected);
    }

    const char* screenshot = std::getenv("RESTASH_REPLAY_SCREENSHOT");
    const std::string command = "NODE_PATH=" + Quoted(modules) + " timeout 300 node " +
                                Quoted(std::string(RESTASH_SOURCE_DIR) + "/tests/browser/replay/replay.js") +
                                " " + Quoted(*options.waczPath) + " " + Quoted(dir / "expected.json") +
                                (screenshot ? " " + Quoted(screenshot) : "") + " > " + Quoted(dir / "out") +
                                " 2> " + Quoted(dir / "err");
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::string out = ReadBytes(dir / "out"), err = ReadBytes(dir / "err");
    if (status == 77) GTEST_SKIP() << out;
    EXPECT_EQ(status, 0) << out << err;
    const std::string n = std::to_string(pages);
    EXPECT_EQ(out, "{\"listed\":" + n + ",\"replayed\":" + n + ",\"seconds\":" + out.substr(out.rfind(':') + 1))
        << out << err;
    std::cout << out;
}

TEST(ReplayCheck, ReplayWebPageListsAndReplaysEveryExportedPage) {
    if (!ReplayInstalled(std::string(RESTASH_BINARY_DIR) + "/replay/node_modules"))
        GTEST_SKIP() << "ReplayWeb.page is not installed: run scripts/test.sh, or npm ci in build/replay";
    TempDir dir;
    WriteHashCache(dir / "cache/", CacheObjects(), {}, "FAT.DB");
    ExportAndReplay(dir, NetscapeHashSource(dir / "cache/FAT.DB"), Expected(), std::size(kPages), std::size(kPages) + 2);
}

// A Mozilla disk cache's response records replay as the browser received
// them: the gzip page is served with its Content-Encoding and shown decoded,
// the Latin-1 page in the charset its head gave.
TEST(ReplayCheck, AMozillaDiskCacheReplaysFromItsResponseRecords) {
    if (!ReplayInstalled(std::string(RESTASH_BINARY_DIR) + "/replay/node_modules"))
        GTEST_SKIP() << "ReplayWeb.page is not installed: run scripts/test.sh, or npm ci in build/replay";
    TempDir dir;
    WriteMozillaCache(dir / "Cache", SampleSite(), MapVersion(19));
    const auto source = OpenCacheSource(dir / "Cache");
    const char* const expected = R"({"listed": ["Home", "Two", "News", "Caf\u00e9", "Results"],
 "replayed": [
  {"url": "http://www.example.com/index.html", "ts": "20010909014640", "title": "Home", "text": "Two",
   "image": "http://www.example.com/logo.gif"},
  {"url": "http://www.example.com/page2.html", "ts": "20010909014820", "title": "Two", "text": "Latin"},
  {"url": "http://www.example.com/news.html", "ts": "20010909015140", "title": "News", "text": "Compressed news"},
  {"url": "http://www.example.com/latin.html", "ts": "20010909015320", "title": "Caf\u00e9",
   "text": "Cr\u00e8me br\u00fbl\u00e9e"},
  {"url": "http://www.example.com/search.cgi", "ts": "20010909015500", "title": "Results", "text": "3 results"}],
 "screenshot": 2}
)";
    ExportAndReplay(dir, *source, expected, 5, 8);
}

}  // namespace
}  // namespace restash::test
