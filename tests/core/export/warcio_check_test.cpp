// Every archive the export writes, read back by warcio, a WARC reader that
// shares no code with ours (npm package, installed into the build tree by
// scripts/test.sh), and every WACZ package taken apart by Info-ZIP's unzip
// and checked the same way. Without warcio these tests are skipped, unless
// RESTASH_REQUIRE_WARCIO is set (as the test script sets it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include "core/cache/netscape_source.h"
#include "core/export/export_archive.h"
#include "core/platform/progress.h"
#include "tests/core/export/warc_reading.h"
#include "tests/support/mozilla_cache.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

struct CheckResult {
    int status = -1;
    std::string out, err;
};

// script (of tests/core/export/warcio) run over the files given.
CheckResult RunWarcio(const TempDir& dir, const std::string& script, const std::string& files) {
    const std::string modules = std::string(RESTASH_BINARY_DIR) + "/warcio/node_modules";
    const std::string command = "NODE_PATH='" + modules + "' node '" + RESTASH_SOURCE_DIR +
                                "/tests/core/export/warcio/" + script + "' " + files + " > '" +
                                dir / "check.out" + "' 2> '" + dir / "check.err" + "'";
    CheckResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadBytes(dir / "check.out");
    r.err = ReadBytes(dir / "check.err");
    return r;
}

class WarcioCheck : public ::testing::Test {
protected:
    void SetUp() override {
        const bool installed = std::filesystem::exists(std::string(RESTASH_BINARY_DIR) + "/warcio/node_modules/warcio");
        if (!installed && !std::getenv("RESTASH_REQUIRE_WARCIO"))
            GTEST_SKIP() << "warcio is not installed: run scripts/test.sh, or npm ci in build/warcio";
        ASSERT_TRUE(installed) << "warcio is not installed in " << RESTASH_BINARY_DIR << "/warcio";
    }

    // Exports every entry of the cache index and has warcio read the result.
    // Every fifth entry may be given a stored response head first (headed).
    void ExportAndCheck(const std::string& cacheDir, const std::string& fatName, std::size_t expectArchived,
                        std::size_t expectPages, bool headed = false) {
        ExportAndCheck(NetscapeHashSource(cacheDir + fatName), expectArchived, expectPages, headed);
    }

    void ExportAndCheck(const CacheSource& source, std::size_t expectArchived, std::size_t expectPages,
                        bool headed = false) {
        CacheEntryList entries;
        NullProgress quiet;
        source.Read(entries, quiet);
        for (std::size_t i = 0; headed && i < entries.size(); i += 5)
            entries[i].ResponseHead = "HTTP/1.1 " + std::string(i % 10 ? "200 OK" : "404 Not Found") +
                                      "\r\nContent-Type: " + entries[i].MimeType +
                                      "\r\nServer: Apache/1.3\r\n";
        Selection everything;
        for (const CacheEntry& e : entries) everything.Domains.Add(e.Domain);
        everything.IncludeOther = true;

        ExportOptions options;
        options.warcPath = out_ / "export.warc.gz";
        options.cdxjPath = out_ / "export.cdxj";
        options.waczPath = out_ / "export.wacz";
        options.sourceCacheName = source.Location();
        options.createdAt = 1700000000;
        const ExportReport summary =
            ExportArchive(entries, everything, source, options, quiet, RealFileSystem());
        ASSERT_EQ(summary.archived, expectArchived);
        ASSERT_TRUE(summary.failures.empty()) << summary.failures[0].what;

        const CheckResult check =
            RunWarcio(out_, "validate.js", "'" + options.warcPath + "' '" + *options.cdxjPath + "'");
        EXPECT_EQ(check.status, 0) << check.err;
        const std::string n = std::to_string(summary.archived);
        const std::string counts = "\"records\":" + std::to_string(1 + 2 * summary.archived) +
                                   ",\"captures\":" + n + ",\"lines\":" + n;
        EXPECT_EQ(check.out.substr(0, check.out.find(",\"surtChecked\"")), "{" + counts) << check.out;
        // warcio's own index keys were compared where its rules and ours agree,
        // and Node's URL parser's addresses with ours wherever it reads them.
        EXPECT_EQ(check.out.find("\"surtChecked\":0,"), std::string::npos) << check.out;
        EXPECT_EQ(check.out.find("\"urlChecked\":0}"), std::string::npos) << check.out;
        std::cout << check.out;

        const CheckResult wacz = RunWarcio(out_, "validate_wacz.js", "'" + *options.waczPath + "'");
        EXPECT_EQ(wacz.status, 0) << wacz.err;
        EXPECT_EQ(wacz.out.substr(0, wacz.out.find(",\"surtChecked\"")),
                  "{\"members\":5,\"pages\":" + std::to_string(expectPages) + "," + counts)
            << wacz.out;
        std::cout << wacz.out;
        records_ = ReadWarc(options.warcPath);
    }

    TempDir out_;
    std::vector<ReadRecord> records_;  // the archive's records, as the tests' own reader reads them
};

// A Mozilla disk cache keeps each server's response head: its objects are
// response records, the gzip page's bytes as stored with the head that says
// so; a head that is a status line alone makes a resource record.
TEST_F(WarcioCheck, ReadsTheExportOfAMozillaDiskCacheAsResponseRecords) {
    TempDir cache;
    WriteMozillaCache(cache / "Cache", SampleSite(), MapVersion(19));
    ExportAndCheck(*OpenCacheSource(cache / "Cache"), 8, 5);
    std::size_t responses = 0;
    for (const ReadRecord& r : records_) {
        const std::string type = r.Field("WARC-Type");
        if (type == "warcinfo") {
            EXPECT_NE(r.block.find("Objects of a Mozilla disk cache of "), std::string::npos) << r.block;
        }
        if (type == "resource") {
            EXPECT_EQ(r.Field("WARC-Target-URI"), "http://www.example.com/notes.txt");
        }
        if (type != "response") continue;
        ++responses;
        if (r.Field("WARC-Target-URI") == "http://www.example.com/news.html") {
            const WebObject news = SampleSite()[3];
            EXPECT_EQ(r.block, news.responseHead + "\r\n" + news.body);
        }
    }
    EXPECT_EQ(responses, 7u);
}

TEST_F(WarcioCheck, ReadsTheExportOfTheSampleCache) {
    const std::string samples = std::string(RESTASH_SOURCE_DIR) + "/samples/hash-cache/";
    ExportAndCheck(samples, "FAT.DB", 25, 14);
}

// Several thousand objects of both record versions, with the addresses old
// caches really hold (queries, ports, upper case, spaces, Latin-1 letters)
// and files large enough to be read in several pieces; a fifth of them with
// a stored response head, as the caches that keep one give them.
TEST_F(WarcioCheck, ReadsTheExportOfALargeGeneratedCache) {
    TempDir cache;
    std::mt19937 rng(7);
    std::vector<NsObject> objects;
    const char* mimes[] = {"text/html", "image/gif", "image/jpeg", "text/plain", "application/zip", ""};
    for (unsigned i = 0; i < 4000; ++i) {
        NsObject o;
        const std::string host = (i % 3 ? "www.site" : "Site") + std::to_string(i % 47) + ".example";
        switch (i % 6) {
            case 0: o.url = "http://" + host + "/page" + std::to_string(i) + ".html"; break;
            case 1: o.url = "http://" + host + ":8080/pics/Img" + std::to_string(i) + ".GIF"; break;
            case 2: o.url = "http://" + host + "/cgi-bin/q?b=" + std::to_string(i) + "&a=x"; break;
            case 3: o.url = "http://" + host + "/docs/my file " + std::to_string(i) + ".txt"; break;
            case 4: o.url = "http://" + host + "/caf\xE9/" + std::to_string(i) + "/"; break;
            default: o.url = "ftp://ftp" + std::to_string(i % 5) + ".example/pub/f" + std::to_string(i) + ".zip";
        }
        o.mimeType = mimes[i % 6];
        o.fileName = EightThreeName(i, o.mimeType);
        const std::size_t size = i % 500 == 0 ? 150000 + i : rng() % 3000;
        o.body.resize(size);
        for (char& c : o.body) c = static_cast<char>(rng());
        o.lastAccessed = 850000000 + static_cast<std::int32_t>(i * 37);
        o.lastModified = i % 4 ? 840000000 : 0;
        o.version = i % 2 ? 5 : 3;
        o.charset = i % 6 == 0 && i % 4 == 0 ? "iso-8859-1" : "";
        o.incomplete = i % 250 == 0;
        objects.push_back(std::move(o));
    }
    WriteHashCache(cache.path(), objects, {}, "FAT.DB");
    ExportAndCheck(cache.path(), "FAT.DB", objects.size(), 667, true);
}

}  // namespace
}  // namespace restash::test
