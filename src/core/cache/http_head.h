#pragma once
// A stored HTTP response head, as Mozilla's caches keep it ("response-head":
// the status line and the header lines, each ending in CR LF) and as
// Netscape 6.0 kept it (the header lines alone).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace restash {

struct HttpHead {
    std::string statusLine;  // "HTTP/1.1 200 OK"; empty when the head has none
    int status = 0;          // 200; 0 when there is no status line
    std::vector<std::pair<std::string, std::string>> headers;  // in order, values trimmed

    // The first header of that name (without regard to case), if any.
    std::optional<std::string> Header(std::string_view name) const;

    std::string ContentType() const;      // the whole Content-Type value
    std::string MimeType() const;         // its type/subtype, as written
    std::string Charset() const;          // its charset parameter, unquoted
    std::string ContentEncoding() const;  // the Content-Encoding value, trimmed
    std::optional<std::uint64_t> ContentLength() const;
    std::optional<std::int64_t> Date() const;          // seconds since 1970 UTC
    std::optional<std::int64_t> LastModified() const;  // seconds since 1970 UTC
};

// Reads a head whose lines end in CR LF or LF. Lines that start with a space
// or tab continue the header before them; lines without a colon are skipped.
HttpHead ParseHttpHead(std::string_view head);

// An HTTP date in any of the three forms HTTP/1.1 accepts (RFC 1123, RFC 850,
// asctime) as seconds since 1970 UTC; nothing when it cannot be read.
std::optional<std::int64_t> ParseHttpDate(std::string_view text);

}  // namespace restash
