#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <algorithm>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/support/netscape_cache.h"

namespace restash::test {
namespace {

class ListCommand : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(cache / "a.htm", "<HTML>");
        WriteBytes(cache / "B.GIF", "GIF89a");
        WriteBytes(cache / "C.ZIP", "PK");
        WriteBytes(cache / "FAT",
                   "MCOM-Cache-file-allocation-table-format-1\r\n"
                   "1\t2\t845000000\tC:\\NS\\CACHE\\A.HTM\thttp://www.example.com/a,b \"q\".html\ttext/html\t0\t1\r\n"
                   "1\t2\t845000100\tC:\\NS\\CACHE\\GONE.HTM\thttp://www.example.com/gone\ttext/html\t0\t1\r\n"
                   "1\t2\t845000001\tC:\\NS\\CACHE\\B.GIF\thttp://img.example.org/b.gif\timage/gif\t0\t1\r\n"
                   "1\t2\t-5\tC:\\NS\\CACHE\\C.ZIP\thttp://www.example.com/c.zip\tapplication/zip\t0\t1\r\n");
    }
    CliResult List(const std::string& format) { return RunCli(home, {"list", "--cache", cache / "FAT", "--format", format}); }

    TempDir home;
    TempDir cache;
};

TEST_F(ListCommand, JsonHasEveryEntryInReaderOrderWithEveryFact) {
    const CliResult r = List("json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");  // no progress line when standard error is no terminal
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.size(), 3u);
    // A text index holds no dates but the stamp: its other facts are null.
    EXPECT_EQ(json[0], nlohmann::json::parse(R"({"stamp": 845000000, "stamp_utc": "1996-10-11T02:13:20Z",
        "file": "A.HTM", "url": "http://www.example.com/a,b \"q\".html", "mime": "TEXT/HTML",
        "domain": "www.example.com", "category": "text", "present": true, "size": 6,
        "last_modified": null, "last_modified_utc": null, "expires": null, "expires_utc": null,
        "content_length": null, "content_encoding": null, "charset": null, "incomplete": null,
        "record_version": null, "format": "Netscape text index", "family": "Netscape 1-2"})"));
    EXPECT_EQ(json[1]["category"], "media");
    EXPECT_EQ(json[1]["domain"], "img.example.org");
    EXPECT_EQ(json[2]["stamp"], -5);
    EXPECT_EQ(json[2]["category"], "other");
}

TEST_F(ListCommand, AllKeepsTheEntriesWhoseFileIsGone) {
    for (const char* format : {"json", "csv"}) {
        const CliResult r = RunCli(home, {"list", "--all", "--cache", cache / "FAT", "--format", format});
        ASSERT_EQ(r.status, 0) << r.err;
        if (std::string(format) == "csv") {
            EXPECT_NE(r.out.find("\r\n845000100,1996-10-11T02:15:00Z,GONE.HTM,http://www.example.com/gone,TEXT/HTML,"
                                 "www.example.com,text,false,,,,,,,,,,,Netscape text index,Netscape 1-2\r\n"),
                      std::string::npos)
                << r.out;
            continue;
        }
        const auto json = nlohmann::json::parse(r.out);
        ASSERT_EQ(json.size(), 4u);
        EXPECT_EQ(json[1]["file"], "GONE.HTM");
        EXPECT_EQ(json[1]["present"], false);
        EXPECT_EQ(json[1]["size"], nullptr);
    }
}

TEST_F(ListCommand, CsvQuotesFieldsAndEndsRecordsWithCrLf) {
    const CliResult r = List("csv");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "stamp,stamp_utc,file,url,mime,domain,category,present,size,last_modified,last_modified_utc,expires,"
              "expires_utc,content_length,content_encoding,charset,incomplete,record_version,format,family\r\n"
              "845000000,1996-10-11T02:13:20Z,A.HTM,\"http://www.example.com/a,b \"\"q\"\".html\",TEXT/HTML,"
              "www.example.com,text,true,6,,,,,,,,,,Netscape text index,Netscape 1-2\r\n"
              "845000001,1996-10-11T02:13:21Z,B.GIF,http://img.example.org/b.gif,IMAGE/GIF,img.example.org,media,true,"
              "6,,,,,,,,,,Netscape text index,Netscape 1-2\r\n"
              "-5,1969-12-31T23:59:55Z,C.ZIP,http://www.example.com/c.zip,APPLICATION/ZIP,www.example.com,other,true,2,"
              ",,,,,,,,,Netscape text index,Netscape 1-2\r\n");
}

TEST_F(ListCommand, TextAlignsTheColumns) {
    const CliResult r = List("text");
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].find("STAMP"), 4u);  // numbers align right under the heading
    const std::size_t urlColumn = rows[0].find("URL");
    EXPECT_EQ(rows[1].find("http://www.example.com/a,b"), urlColumn);
    EXPECT_EQ(rows[2].find("http://img.example.org/b.gif"), urlColumn);
    EXPECT_EQ(rows[3].find("http://www.example.com/c.zip"), urlColumn);
    EXPECT_EQ(rows[3].find("       -5  C.ZIP"), 0u);
}

TEST_F(ListCommand, TakesTheCacheFromTheSettingsFile) {
    WriteBytes(home / "RESTASH.INI", "[paths]\r\ncachedir=" + cache / "FAT" + "\r\n");
    const std::string before = ReadBytes(home / "RESTASH.INI");
    const CliResult r = RunCli(home, {"list", "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("845000001,1996-10-11T02:13:21Z,B.GIF"), std::string::npos) << r.out;
    EXPECT_EQ(ReadBytes(home / "RESTASH.INI"), before);
}

TEST_F(ListCommand, ErrorsAndWarningsNameTheIndex) {
    CliResult r = RunCli(home, {"list", "--cache", cache / "MISSING.DB"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "restash-cli: " + cache / "MISSING.DB" + ": File not found\n");

    // A line whose stamp is no number is skipped with a warning naming it.
    WriteBytes(cache / "BAD", "MCOM-CACHE\r\n1\t2\tsoon\tA.HTM\thttp://a/\ttext/html\t0\t1\r\n");
    r = RunCli(home, {"list", "--cache", cache / "BAD"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find(cache / "BAD"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    // The command line never makes a settings file.
    EXPECT_FALSE(FileExists(home / "RESTASH.INI"));
}

TEST(ListHashCache, ReadsBytesAboveAsciiAsLatin1AndKeepsControlsOffTheTerminal) {
    TempDir home;
    TempDir cache;
    NsObject page;
    page.url = "http://caf\xe9.example/men\xfc.html";
    page.fileName = "M0000001.HTM";
    page.mimeType = "text/html";
    NsObject trap = page;
    trap.url = "http://x.example/\x1b[31mred";
    trap.fileName = "M0000002.HTM";
    const std::string index = WriteHashCache(cache.path(), {page, trap});

    const CliResult json = RunCli(home, {"list", "--cache", index, "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    std::vector<std::string> urls;
    for (const auto& entry : nlohmann::json::parse(json.out)) urls.push_back(entry["url"]);
    std::sort(urls.begin(), urls.end());
    EXPECT_EQ(urls, (std::vector<std::string>{"http://caf\u00e9.example/men\u00fc.html", "http://x.example/\x1b[31mred"}));

    const CliResult text = RunCli(home, {"list", "--cache", index});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
    EXPECT_NE(text.out.find("http://x.example/?[31mred"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("caf\u00e9.example"), std::string::npos) << text.out;
}

// One selection for every command that reads the cache: dates in the
// cache's time zone (--gmt), domains, address patterns.
TEST(ListSelection, ChoosesByDateDomainAndAddress) {
    TempDir home;
    TempDir cache;
    // 1997-06-01 23:30 UTC, 1997-06-02 00:30 UTC, 1997-06-03 12:00 UTC.
    for (const char* f : {"A.HTM", "B.GIF", "C.HTM"}) WriteBytes(cache / f, "x");
    WriteBytes(cache / "FAT",
               "MCOM-Cache-file-allocation-table-format-1\r\n"
               "1\t2\t865207800\tA.HTM\thttp://a.example/news/one.html\ttext/html\t0\t1\r\n"
               "1\t2\t865211400\tB.GIF\thttp://b.example/img/b.gif\timage/gif\t0\t1\r\n"
               "1\t2\t865339200\tC.HTM\thttp://b.example/news/two.html\ttext/html\t0\t1\r\n");
    struct Case {
        std::vector<std::string> options;
        std::string files;  // the listed files, in reader order
    };
    for (const Case& c : std::vector<Case>{
             {{"--since", "1997-06-02"}, "B.GIF C.HTM"},
             {{"--until", "1997-06-01"}, "A.HTM"},
             {{"--since", "1997-06-02", "--until", "1997-06-02"}, "B.GIF"},
             {{"--since", "1997-06-02T00:30", "--until", "1997-06-02T00:30:00"}, "B.GIF"},
             {{"--gmt", "2", "--since", "1997-06-02", "--until", "1997-06-02"}, "A.HTM B.GIF"},
             {{"--domain", "B.EXAMPLE"}, "B.GIF C.HTM"},
             {{"--url", "*/news/*"}, "A.HTM C.HTM"},
             {{"--url", "http://?.example/img/*", "--url", "*two*"}, "B.GIF C.HTM"},
             {{"--types", "media"}, "B.GIF"},
         }) {
        std::vector<std::string> args = {"list", "--cache", cache / "FAT", "--format", "json"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliResult r = RunCli(home, args);
        ASSERT_EQ(r.status, 0) << c.options[0] << " " << c.options[1] << "\n" << r.err;
        std::string files;
        for (const auto& e : nlohmann::json::parse(r.out)) files += (files.empty() ? "" : " ") + std::string(e["file"]);
        EXPECT_EQ(files, c.files) << c.options[0] << " " << c.options[1];
    }
    // Nothing chosen: the note says when the cache's entries are from.
    const CliResult none = RunCli(home, {"list", "--cache", cache / "FAT", "--since", "2001-01-01"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.err,
              "Netscape text index of Netscape 1-2\n"
              "No entry matches the selection; the cache's entries date from 1997-06-01 to 1997-06-03 (UTC).\n");
}

TEST(ListHashCache, JsonCarriesTheIndexFactsAndTheIndexIsFoundWhateverItsCase) {
    TempDir home;
    TempDir cache;
    NsObject page;
    page.url = "http://facts.example/";
    page.fileName = "M0000001.HTM";
    page.mimeType = "text/html";
    page.body = "<HTML>12345</HTML>";
    page.lastModified = 852076800;  // 1997-01-01T00:00:00Z
    page.expires = 0;               // none
    page.contentEncoding = "gzip";
    page.charset = "iso-8859-1";
    page.version = 5;
    WriteHashCache(cache.path(), {page});
    std::filesystem::rename(cache / "FAT.DB", cache / "fat.db");
    const CliResult r = RunCli(home, {"list", "--cache", cache / "FAT.DB", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = nlohmann::json::parse(r.out).at(0);
    EXPECT_EQ(e["last_modified"], 852076800);
    EXPECT_EQ(e["last_modified_utc"], "1997-01-01T00:00:00Z");
    EXPECT_EQ(e["expires_utc"], nullptr);
    EXPECT_EQ(e["content_length"], 18);
    EXPECT_EQ(e["size"], 18);
    EXPECT_EQ(e["content_encoding"], "gzip");
    EXPECT_EQ(e["charset"], "iso-8859-1");
    EXPECT_EQ(e["incomplete"], false);
    EXPECT_EQ(e["record_version"], 5);
}

}  // namespace
}  // namespace restash::test
