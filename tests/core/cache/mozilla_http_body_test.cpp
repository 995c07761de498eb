// Stored response heads, MIME types and the decoding of stored bodies.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include "core/cache/body_decoding.h"
#include "core/cache/http_head.h"
#include "core/cache/mime_type.h"
#include "tests/support/web_objects.h"

namespace restash::test {
namespace {

TEST(HttpHead, StatusHeadersAndTheirValues) {
    const HttpHead head = ParseHttpHead(
        "HTTP/1.1 404 Not Found\r\nContent-Type: text/html;charset=\"windows-1252\"\r\nX-Long: one\r\n "
        "two\r\n"
        "content-encoding:  gzip \r\nContent-Length: 1234\r\nno colon here\r\n"
        "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n");
    EXPECT_EQ(head.statusLine, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(head.status, 404);
    EXPECT_EQ(head.MimeType(), "text/html");
    EXPECT_EQ(head.Charset(), "windows-1252");
    EXPECT_EQ(head.Header("x-long"), "one two");
    EXPECT_EQ(head.ContentEncoding(), "gzip");
    EXPECT_EQ(head.ContentLength(), 1234u);
    EXPECT_EQ(head.LastModified(), 784111777);
    EXPECT_EQ(head.headers.size(), 5u);
    // Netscape 6.0 kept the header lines alone, with LF only.
    const HttpHead bare = ParseHttpHead("Content-Type: image/gif\nDate: Thu, 01 Jan 1970 00:00:10 GMT\n");
    EXPECT_EQ(bare.status, 0);
    EXPECT_EQ(bare.MimeType(), "image/gif");
    EXPECT_EQ(bare.Date(), 10);
}

TEST(HttpHead, DatesInEveryFormAndNonsense) {
    for (const char* text : {"Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT",
                             "Sun Nov  6 08:49:37 1994", "06 nov 1994 08:49:37"})
        EXPECT_EQ(ParseHttpDate(text), 784111777) << text;
    for (const char* text : {"", "0", "yesterday", "Sun, 32 Nov 1994 08:49:37 GMT", "Sun, 06 Nov 1994"})
        EXPECT_EQ(ParseHttpDate(text), std::nullopt) << text;
}

TEST(MimeType, FromTheHeadElseTheExtension) {
    struct Case {
        const char* headType;
        const char* address;
        const char* expected;
    };
    for (const Case& c :
         {Case{"text/html", "http://a/x.gif", "TEXT/HTML"}, Case{"", "http://a/x.GIF?y=z.html", "IMAGE/GIF"},
          Case{"", "http://a/dir.d/file", ""}, Case{"", "http://a.html", ""},
          Case{"", "http://a/s.css#top", "TEXT/CSS"},
          Case{"application/vnd.openxmlformats-officedocument.wordprocessingml.document", "http://a/",
               "APPLICATION/VND.OPENXMLFORMATS-OFFICEDOCUMENT.WORD"}})
        EXPECT_EQ(EntryMimeType(c.headType, c.address), c.expected) << c.address;
}

std::string Deflate(std::string_view body, int windowBits) {
    z_stream zs{};
    deflateInit2(&zs, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, body.size()) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    zs.avail_in = static_cast<uInt>(body.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// br bytes from the system's brotli encoder, loaded at run time (the core only links the decoder).
std::optional<std::string> Brotli(std::string_view body) {
    void* lib = dlopen("libbrotlienc.so.1", RTLD_NOW);
    if (!lib) return std::nullopt;
    using Compress = int (*)(int, int, int, std::size_t, const std::uint8_t*, std::size_t*, std::uint8_t*);
    const auto compress = reinterpret_cast<Compress>(dlsym(lib, "BrotliEncoderCompress"));
    std::string out(body.size() + 1024, '\0');
    std::size_t size = out.size();
    const bool ok =
        compress && compress(9, 22, 0, body.size(), reinterpret_cast<const std::uint8_t*>(body.data()), &size,
                             reinterpret_cast<std::uint8_t*>(out.data()));
    dlclose(lib);
    if (!ok) return std::nullopt;
    out.resize(size);
    return out;
}

TEST(BodyDecoding, EveryCodingWholeAndInPieces) {
    const std::string page = "<html>" + std::string(100000, 'x') + "caf\xc3\xa9</html>";
    struct Case {
        const char* encoding;
        std::string stored;
    };
    std::vector<Case> cases{{"gzip", Gzip(page)},
                            {"x-gzip", Gzip(page.substr(0, 50)) + Gzip(page.substr(50))},
                            {"deflate", Deflate(page, MAX_WBITS)},
                            {"Deflate", Deflate(page, -MAX_WBITS)},
                            {"identity", page},
                            {"", page}};
    if (const auto br = Brotli(page); br && BrotliSupported()) cases.push_back({"br", *br});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        const DecodedBody whole = DecodeBody(c.stored, CodingOf(c.encoding));
        EXPECT_EQ(whole.status, DecodeStatus::Decoded) << whole.problem;
        EXPECT_EQ(whole.bytes, page);
        BodyDecoder pieces(CodingOf(c.encoding));
        std::string out;
        for (std::size_t at = 0; at < c.stored.size(); at += 7)
            ASSERT_TRUE(pieces.Feed(c.stored.substr(at, 7), out));
        EXPECT_TRUE(pieces.Finish());
        EXPECT_EQ(out, page);
    }
}

TEST(BodyDecoding, WhatDoesNotDecodeIsSaid) {
    std::string page;
    for (int i = 0; i < 3000; ++i) page += std::to_string(i * 7919 % 10007) + ' ';
    const std::string gz = Gzip(page);
    struct Case {
        const char* encoding;
        std::string stored;
        DecodeStatus status;
    };
    for (const Case& c :
         {Case{"gzip", "plain text, not gzip", DecodeStatus::Failed},
          Case{"gzip", gz.substr(0, gz.size() / 2), DecodeStatus::Truncated},
          Case{"deflate", "x", DecodeStatus::Failed}, Case{"compress", gz, DecodeStatus::Failed},
          Case{"gzip, br", gz, DecodeStatus::Failed}, Case{"gzip", "", DecodeStatus::Decoded}}) {
        SCOPED_TRACE(std::string(c.encoding) + " " + std::to_string(c.stored.size()));
        const DecodedBody d = DecodeBody(c.stored, CodingOf(c.encoding));
        EXPECT_EQ(d.status, c.status);
        EXPECT_EQ(d.problem.empty(), c.status == DecodeStatus::Decoded);
    }
    EXPECT_EQ(DecodeBody(Gzip(std::string(3000, 'z')), ContentCoding::Gzip, 1000).status,
              DecodeStatus::Failed);
    if (!BrotliSupported()) {
        EXPECT_EQ(DecodeBody("\x0b\x00\x80", ContentCoding::Brotli).status, DecodeStatus::Failed);
    }
}

}  // namespace
}  // namespace restash::test
