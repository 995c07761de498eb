#include <gtest/gtest.h>

#include <climits>

#include "core/export/archive_uri.h"
#include "core/export/json_text.h"
#include "core/export/response_head.h"
#include "core/export/utc_time.h"

namespace restash::test {
namespace {

TEST(UtcTime, CalendarEdges) {
    EXPECT_EQ(IsoUtc(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(IsoUtc(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(IsoUtc(951782400), "2000-02-29T00:00:00Z");  // leap day of a year divisible by 400
    EXPECT_EQ(IsoUtc(4107542399), "2100-02-28T23:59:59Z");  // 2100 has no 29 February
    EXPECT_EQ(IsoUtc(4107542400), "2100-03-01T00:00:00Z");
    EXPECT_EQ(IsoUtc(INT32_MAX), "2038-01-19T03:14:07Z");
    EXPECT_EQ(IsoUtc(INT32_MIN), "1901-12-13T20:45:52Z");
    EXPECT_EQ(Timestamp14(852076800 + 3661), "19970101010101");
    // ZIP times: two-second steps, held to the years 1980 to 2107.
    EXPECT_EQ(DosDateTime(852076800 + 3661 + 1),
              (17u << 25 | 1u << 21 | 1u << 16) | (1u << 11 | 1u << 5 | 1u));
    EXPECT_EQ(DosDateTime(0), (1u << 21 | 1u << 16));
    EXPECT_EQ(DosDateTime(INT64_C(5000000000)),
              (127u << 25 | 12u << 21 | 31u << 16) | (23u << 11 | 59u << 5 | 29u));
}

TEST(ArchiveUri, EscapesWhatCannotStandInAHeaderLine) {
    EXPECT_EQ(ArchiveUri("http://a.example/x?q=1%202"), "http://a.example/x?q=1%202");
    EXPECT_EQ(ArchiveUri("http://a.example/my page.html"), "http://a.example/my%20page.html");
    EXPECT_EQ(ArchiveUri("http://a.example/\r\nWARC-Type: x"), "http://a.example/%0D%0AWARC-Type:%20x");
    EXPECT_EQ(ArchiveUri("http://a.example/caf\xE9\x7F\"<>"), "http://a.example/caf%E9%7F%22%3C%3E");
}

TEST(SurtKey, CanonicalisesAsReplayToolsDo) {
    EXPECT_EQ(SurtKey("http://www.example.com/"), "com,example)/");
    EXPECT_EQ(SurtKey("http://www.example.com"), "com,example)/");
    EXPECT_EQ(SurtKey("HTTP://WWW.Example.COM/Dir/Page.HTML"), "com,example)/dir/page.html");
    EXPECT_EQ(SurtKey("https://www2.news.example.co.uk/a/b/"), "uk,co,example,news)/a/b");
    EXPECT_EQ(SurtKey("http://example.com/p?b=2&a=1&c"), "com,example)/p?a=1&b=2&c");
    EXPECT_EQ(SurtKey("http://example.com/p?"), "com,example)/p");
    EXPECT_EQ(SurtKey("http://example.com?x=1"), "com,example)/?x=1");
    EXPECT_EQ(SurtKey("http://example.com/page.html#part"), "com,example)/page.html");
    EXPECT_EQ(SurtKey("http://user:pw@example.com:80/"), "com,example)/");
    EXPECT_EQ(SurtKey("http://example.com:8080/x"), "com,example:8080)/x");
    EXPECT_EQ(SurtKey("https://example.com:443/x"), "com,example)/x");
    EXPECT_EQ(SurtKey("ftp://ftp.example.org:21/pub/file.zip"), "org,example,ftp)/pub/file.zip");
    // "www" alone, or as part of a longer label, is a real name.
    EXPECT_EQ(SurtKey("http://www/"), "www)/");
    EXPECT_EQ(SurtKey("http://wwwx.example.com/"), "com,example,wwwx)/");
    EXPECT_EQ(SurtKey("http://10.0.0.1/"), "1,0,0,10)/");
    EXPECT_EQ(SurtKey("mailto:Someone@Example.com"), "mailto:someone@example.com");
}

TEST(ResponseHead, KeepsTheStoredHeadAndEndsItWithOneBlankLine) {
    const std::pair<const char*, const char*> heads[] = {
        {"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n",
         "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"},
        {"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n",
         "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"},
        {"HTTP/1.0 200 OK\r\nContent-Type: text/html", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"},
        {"HTTP/1.0 200 OK\nServer: x\n", "HTTP/1.0 200 OK\nServer: x\n\r\n"},
        {"HTTP/1.0 200 OK\nServer: x\n\n", "HTTP/1.0 200 OK\nServer: x\n\n"},
        // The stored body is de-chunked: the header that would say otherwise
        // goes, with the lines that continue it, whatever its letter case.
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nServer: x\r\n",
         "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n"},
        {"HTTP/1.1 200 OK\r\ntransfer-encoding: gzip,\r\n chunked\r\nX-Transfer-Encoding: y\r\n",
         "HTTP/1.1 200 OK\r\nX-Transfer-Encoding: y\r\n\r\n"},
        {"HTTP/1.1 200 OK\nTransfer-Encoding: chunked", "HTTP/1.1 200 OK\n\r\n"},
    };
    for (const auto& [stored, block] : heads) EXPECT_EQ(ResponseBlockHead(stored), block) << stored;

    const std::pair<const char*, const char*> statuses[] = {
        {"HTTP/1.1 404 Not Found\r\n", "404"}, {"HTTP/1.0 200\r\n", "200"}, {"HTTP/2 301 Moved\n", "301"},
        {"HTTP/1.1 2000 Odd\r\n", ""},         {"ICY 200 OK\r\n", ""},      {"HTTP/1.1 abc\r\n", ""},
    };
    for (const auto& [head, status] : statuses) EXPECT_EQ(ResponseStatus(head), status) << head;
}

TEST(ExportText, JsonAndCsvFieldsCarryLatin1AsUtf8) {
    EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(JsonString("a\"b\\c\n\x01\xFF"), "\"a\\\"b\\\\c\\u000a\\u0001\xC3\xBF\"");
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
    // Texts that are not the cache's own stay UTF-8 where they are.
    EXPECT_EQ(Utf8OrLatin1("/home/j\xC3\xBCrgen/FAT.DB"), "/home/j\xC3\xBCrgen/FAT.DB");
    EXPECT_EQ(Utf8OrLatin1("/home/j\xFCrgen/FAT.DB"), "/home/j\xC3\xBCrgen/FAT.DB");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

}  // namespace
}  // namespace restash::test
