#pragma once
// A small web site as a Mozilla-family cache would hold it, shared by the
// Mozilla disk cache, cache2 and Netscape 6.0 writers: pages that link to
// each other, images, a gzip-encoded page, a Latin-1 page whose charset only
// the response head gives, a POST response, a body large enough for a file
// of its own, and one whose body file is missing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace restash::test {

struct WebObject {
    std::string address;
    std::string responseHead;  // status line and headers, each line ending in CR LF
    std::string body;          // as stored (gzip bytes for the gzip page)
    std::string decoded;       // the body after decoding
    std::string mimeType;      // what a reader should list: upper case
    std::string method = "GET";
    std::uint32_t postId = 0;    // the POST response's id (0: not a POST)
    std::string charsetElement;  // the cache's own "charset" element
    bool anonymous = false;
    bool bodyMissing = false;  // the writer leaves its body file out
    std::uint32_t lastFetched = 1000000000;
    std::uint32_t lastModified = 0;
    std::uint32_t expires = 0;
    std::uint32_t fetchCount = 1;
};

// "HTTP/1.1 200 OK" with the headers given ("Name: value" each).
std::string ResponseHead(std::string_view statusLine, const std::vector<std::string>& headers);

// The bytes of body compressed with a gzip wrapper (zlib).
std::string Gzip(std::string_view body);

// The sample site; every body differs from every other.
std::vector<WebObject> SampleSite();

}  // namespace restash::test
