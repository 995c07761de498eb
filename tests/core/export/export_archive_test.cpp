#include "core/cache/netscape_source.h"
#include "core/export/export_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "core/export/archive_uri.h"
#include "core/export/browser_address.h"
#include "core/export/digest_text.h"
#include "core/export/sha256.h"
#include "core/export/warc_writer.h"
#include "core/platform/error.h"
#include "export_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "warc_reading.h"

namespace restash::test {
namespace {

std::string Sha256Hex(const std::string& bytes) {
    Sha256 h;
    h.Update(bytes);
    return Hex(h.Final());
}

// A cache folder with files of several kinds, and entries for them written
// the way the reader fills them.
class ExportTest : public ExportFixture {
protected:
    ExportTest() {
        std::filesystem::create_directories(cache_ / "");
        for (int i = 0; i < 200000; ++i) big_ += static_cast<char>((i * 31) ^ (i >> 7));
        Add("http://www.example.com/", "M0000001.HTM", "TEXT/HTML", "<html>home</html>\n", 850000000)
            .Charset = "iso-8859-1";
        CacheEntry& gif = Add("http://img.example.com/pics/logo.gif", "M0000002.GIF", "IMAGE/GIF", big_, 850000100);
        gif.LastModified = 840000000;
        gif.Expires = 0;  // Netscape's "no date"
        gif.ContentLength = 200000;
        gif.ContentEncoding = "x-gzip";
        gif.IncompleteFile = true;
        Add("http://www.example.com/empty.html", "M0000003.HTM", "TEXT/HTML", "", 850000200);
        Add("http://www.example.com/gone.html", "M0000004.HTM", "TEXT/HTML", "", 850000300);
        std::filesystem::remove(cache_ / "M0000004.HTM");
        Add("http://www.example.com/app.zip", "M0000005.ZIP", "APPLICATION/ZIP", "PK", 850000400);  // "other"
        Add("http://www.example.com/a,b \"q\".html", "M0000006.HTM", "TEXT/HTML", "quoted", 850000500);

        selection_.Domains.Add("www.example.com");
        selection_.Domains.Add("img.example.com");
        options_.warcPath = out_ / "cache.warc.gz";
        options_.cdxjPath = out_ / "cache.cdxj";
        options_.manifestPath = out_ / "cache.csv";
        options_.sourceCacheName = cache_ / "FAT.DB";
        options_.createdAt = 1700000000;
    }

    std::string big_;
};

TEST_F(ExportTest, RecordsHoldEachCacheFileByteForByteWithItsFacts) {
    const ExportReport summary = Export();
    EXPECT_EQ(summary.selected, 5u);  // the ZIP is "other", which the selection leaves out
    EXPECT_EQ(summary.archived, 4u);
    EXPECT_EQ(summary.missing, 1u);
    EXPECT_EQ(summary.bytes, 18u + big_.size() + 0 + 6);
    EXPECT_TRUE(summary.failures.empty());
    EXPECT_EQ(summary.ending, Ending::Finished);

    const auto records = ReadWarc(options_.warcPath);
    ASSERT_EQ(records.size(), 1u + 2 * 4);
    for (const ReadRecord& r : records) {
        EXPECT_EQ(r.version, "WARC/1.1");
        EXPECT_TRUE(r.closedProperly);
        EXPECT_EQ(r.Field("WARC-Block-Digest"), Sha1Label(r.block));
    }
    const ReadRecord& info = records[0];
    EXPECT_EQ(info.Field("WARC-Type"), "warcinfo");
    EXPECT_EQ(info.Field("WARC-Date"), "2023-11-14T22:13:20Z");
    EXPECT_EQ(info.Field("WARC-Filename"), "cache.warc.gz");
    const auto infoFields = ParseWarcFields(info.block);
    ASSERT_GE(infoFields.size(), 1u);
    EXPECT_EQ(infoFields[0].first, "software");
    EXPECT_TRUE(infoFields[0].second.starts_with("Restash 0.")) << infoFields[0].second;
    EXPECT_NE(std::find(infoFields.begin(), infoFields.end(),
                        std::pair<std::string, std::string>("source-cache", options_.sourceCacheName)),
              infoFields.end());

    const std::string infoId = info.Field("WARC-Record-ID");
    const std::vector<std::pair<std::size_t, std::string>> expected{
        {0, "<html>home</html>\n"}, {1, big_}, {2, ""}, {5, "quoted"}};
    for (std::size_t n = 0; n < expected.size(); ++n) {
        const CacheEntry& entry = entries_[expected[n].first];
        const ReadRecord& resource = records[1 + 2 * n];
        const ReadRecord& meta = records[2 + 2 * n];
        SCOPED_TRACE(entry.Url);
        EXPECT_EQ(resource.Field("WARC-Type"), "resource");
        EXPECT_EQ(resource.Field("WARC-Target-URI"), ReplayAddress(entry.Url));
        EXPECT_EQ(resource.block, expected[n].second);
        EXPECT_EQ(resource.Field("WARC-Payload-Digest"), resource.Field("WARC-Block-Digest"));
        EXPECT_EQ(resource.Field("WARC-Warcinfo-ID"), infoId);
        EXPECT_EQ(meta.Field("WARC-Type"), "metadata");
        EXPECT_EQ(meta.Field("Content-Type"), "application/warc-fields");
        EXPECT_EQ(meta.Field("WARC-Concurrent-To"), resource.Field("WARC-Record-ID"));
        EXPECT_EQ(meta.Field("WARC-Refers-To"), resource.Field("WARC-Record-ID"));
        EXPECT_EQ(meta.Field("WARC-Target-URI"), resource.Field("WARC-Target-URI"));
        EXPECT_EQ(meta.Field("WARC-Date"), resource.Field("WARC-Date"));
    }
    EXPECT_EQ(records[1].Field("Content-Type"), "text/html; charset=iso-8859-1");
    EXPECT_EQ(records[1].Field("WARC-Date"), "1996-12-07T23:06:40Z");
    EXPECT_EQ(records[3].Field("Content-Type"), "image/gif");
    const std::vector<std::pair<std::string, std::string>> gifFacts{
        {"cache-file", "M0000002.GIF"},
        {"cache-url", "http://img.example.com/pics/logo.gif"},
        {"last-modified", "1996-08-14T05:20:00Z"},
        {"content-length", "200000"},
        {"content-encoding", "x-gzip"},
        {"incomplete-file", "true"}};
    EXPECT_EQ(ParseWarcFields(records[4].block), gifFacts);

    std::set<std::string> ids;
    for (const ReadRecord& r : records) ids.insert(r.Field("WARC-Record-ID"));
    EXPECT_EQ(ids.size(), records.size());
}

TEST_F(ExportTest, IndexLinesAreSortedOnePerResourceAndPointAtTheirRecords) {
    Export();
    const auto records = ReadWarc(options_.warcPath);
    std::map<std::uint64_t, const ReadRecord*> byOffset;
    for (const ReadRecord& r : records) byOffset[r.offset] = &r;

    std::istringstream cdxj(ReadBytes(*options_.cdxjPath));
    std::vector<std::string> lines;
    for (std::string line; std::getline(cdxj, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    EXPECT_EQ(lines[0].substr(0, lines[0].find(" {")), "com,example)/ 19961207230640");
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        auto value = [&](const std::string& key) {
            const std::size_t at = line.find("\"" + key + "\": \"");
            EXPECT_NE(at, std::string::npos);
            const std::size_t from = at + key.size() + 5;
            return line.substr(from, line.find('"', from) - from);
        };
        const auto found = byOffset.find(std::stoull(value("offset")));
        ASSERT_NE(found, byOffset.end());
        const ReadRecord& r = *found->second;
        EXPECT_EQ(r.Field("WARC-Type"), "resource");
        EXPECT_EQ(std::to_string(r.length), value("length"));
        EXPECT_EQ(r.Field("WARC-Payload-Digest"), value("digest"));
        EXPECT_EQ(SurtKey(r.Field("WARC-Target-URI")), line.substr(0, line.find(' ')));
        EXPECT_EQ(value("filename"), "cache.warc.gz");
    }
}

TEST_F(ExportTest, ManifestHasARowForEverySelectedEntryPresentOrNot) {
    Export();
    const std::string csv = ReadBytes(*options_.manifestPath);
    const std::string expected =
        "url,cache_file,mime_type,category,timestamp,size,sha256,present,archived,archive_url\r\n"
        "http://www.example.com/,M0000001.HTM,text/html,text,1996-12-07T23:06:40Z,18," +
        Sha256Hex("<html>home</html>\n") +
        ",true,true,http://www.example.com/\r\n"
        "http://img.example.com/pics/logo.gif,M0000002.GIF,image/gif,media,1996-12-07T23:08:20Z,200000," +
        Sha256Hex(big_) +
        ",true,true,http://img.example.com/pics/logo.gif\r\n"
        "http://www.example.com/empty.html,M0000003.HTM,text/html,text,1996-12-07T23:10:00Z,0,"
        "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855,true,true,"
        "http://www.example.com/empty.html\r\n"
        "http://www.example.com/gone.html,M0000004.HTM,text/html,text,1996-12-07T23:11:40Z,,,false,false,"
        "http://www.example.com/gone.html\r\n"
        "\"http://www.example.com/a,b \"\"q\"\".html\",M0000006.HTM,text/html,text,1996-12-07T23:15:00Z,6," +
        Sha256Hex("quoted") + ",true,true,\"http://www.example.com/a,b%20%22q%22.html\"\r\n";
    EXPECT_EQ(csv, expected);

    options_.manifestPath = out_ / "cache.JSON";
    Export();
    const std::string json = ReadBytes(*options_.manifestPath);
    EXPECT_EQ(json.substr(0, 2), "[\n");
    EXPECT_EQ(json.substr(json.size() - 4), "}\n]\n");
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), 5);
    EXPECT_NE(json.find("{\"url\": \"http://www.example.com/gone.html\", \"cache_file\": \"M0000004.HTM\", "
                        "\"mime_type\": \"text/html\", \"category\": \"text\", \"timestamp\": "
                        "\"1996-12-07T23:11:40Z\", \"size\": null, \"sha256\": null, \"present\": false, "
                        "\"archived\": false, \"archive_url\": \"http://www.example.com/gone.html\"}"),
              std::string::npos);
    EXPECT_NE(json.find("\"url\": \"http://www.example.com/a,b \\\"q\\\".html\""), std::string::npos);
}

// A browser takes line breaks out of an address; the archive form of one it
// cannot parse encodes them. Neither can end a header line.
TEST_F(ExportTest, AnAddressCannotAddHeaderLinesOfItsOwn) {
    entries_[0].Url = "http://www.example.com/x\r\nWARC-Type: response\r\n\r\n";
    entries_[0].Charset = "utf-8\r\nWARC-Profile: x";
    Export();
    const auto records = ReadWarc(options_.warcPath);
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[1].Count("WARC-Type"), 1u);
    EXPECT_EQ(records[1].Count("WARC-Profile"), 0u);
    EXPECT_EQ(records[1].Field("WARC-Target-URI"), "http://www.example.com/xWARC-Type:%20response");
    EXPECT_EQ(records[1].block, "<html>home</html>\n");
    const auto facts = ParseWarcFields(records[2].block);
    ASSERT_GE(facts.size(), 2u);
    EXPECT_EQ(facts[1].second, "http://www.example.com/x%0D%0AWARC-Type: response%0D%0A%0D%0A");

    entries_[0].Url =
        "www.example.com/x\r\nWARC-Type: response";  // no scheme: not an address a browser takes
    Export();
    const auto again = ReadWarc(options_.warcPath);
    EXPECT_EQ(again[1].Count("WARC-Type"), 1u);
    EXPECT_EQ(again[1].Field("WARC-Target-URI"), "www.example.com/x%0D%0AWARC-Type:%20response");
}

TEST_F(ExportTest, TheSameExportGivesTheSameBytes) {
    entries_.push_back(entries_[0]);  // the same address and file twice still makes distinct records
    Export();
    const std::string first = ReadBytes(options_.warcPath);
    Export();
    EXPECT_EQ(ReadBytes(options_.warcPath), first);

    const auto records = ReadWarc(options_.warcPath);
    std::set<std::string> ids;
    for (const ReadRecord& r : records) ids.insert(r.Field("WARC-Record-ID"));
    EXPECT_EQ(ids.size(), records.size());
    options_.createdAt += 1;
    Export();
    EXPECT_NE(ReadWarc(options_.warcPath)[1].Field("WARC-Record-ID"), records[1].Field("WARC-Record-ID"));
}

TEST_F(ExportTest, AFailedOrStoppedExportLeavesTheOldFilesAlone) {
    const std::vector<std::string> outputs{options_.warcPath, *options_.cdxjPath, *options_.manifestPath};
    for (const std::string& path : outputs) WriteBytes(path, "old");
    const std::vector<std::string> before = OutputFolder();
    auto unchanged = [&] {
        EXPECT_EQ(OutputFolder(), before);  // no temporary file left behind either
        for (const std::string& path : outputs) EXPECT_EQ(ReadBytes(path), "old") << path;
    };

    FaultyFileSystem full;
    full.failWritesTo = TemporaryNameFor(options_.warcPath);
    full.writeBudget = 1000;  // the disk fills during the large GIF
    EXPECT_THROW(Export(full), FileError);
    unchanged();

    progress_.phases.clear();
    progress_.stopAt = 3;
    EXPECT_EQ(Export().ending, Ending::Stopped);
    unchanged();
    EXPECT_EQ(progress_.phases, std::vector<std::string>{kPhaseExporting});

    progress_.stopAt = 0;
    options_.manifestPath = out_ / "cache.txt";
    EXPECT_THROW(Export(), FileError);
    unchanged();
}

TEST_F(ExportTest, UnreadableFilesAndAddresslessEntriesAreReportedAndSkipped) {
    entries_[2].Url.clear();
    ::chmod((cache_ / "M0000002.GIF").c_str(), 0);
    const bool canStillRead = ::access((cache_ / "M0000002.GIF").c_str(), R_OK) == 0;  // root reads anyway
    const ExportReport summary = Export();
    ::chmod((cache_ / "M0000002.GIF").c_str(), 0644);

    const std::size_t unreadable = canStillRead ? 0 : 1;
    EXPECT_EQ(summary.archived, 2u + (1 - unreadable));
    ASSERT_EQ(summary.failures.size(), 1u + unreadable);
    if (unreadable) {
        EXPECT_EQ(summary.failures[0].what.rfind(cache_ / "M0000002.GIF: ", 0), 0u);
    }
    EXPECT_EQ(summary.failures.back().what, cache_ / "M0000003.HTM: The cache index gives no address for it");
    EXPECT_TRUE(summary.failures.back().noAddress);
    EXPECT_EQ(ReadWarc(options_.warcPath).size(), 1 + 2 * summary.archived);
}

}  // namespace
}  // namespace restash::test
