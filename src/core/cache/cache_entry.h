#pragma once
// One entry of Netscape's cache index, as the reader accepted it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace restash {

// The two forms of the cache index.
enum class IndexFormat { TextIndex, HashIndex };

enum class Category : std::uint8_t { Text = 0, Media = 1, Other = 2 };

// "text", "media" or "other".
const char* CategoryName(Category c);

struct CacheEntry {
    std::int32_t Stamp = 0;  // seconds since 1 January 1970, as stored in the index
    std::string FileName;    // the cache file, relative to the cache folder (upper case for a hash index)
    std::string Url;         // the object's URL, case unchanged
    std::string MimeType;    // upper-cased, at most 50 characters
    std::string Domain;      // DomainOf(Url), at most 50 characters
    Category category = Category::Other;

    // Further facts some record versions of a hash index carry; empty when
    // the record does not hold them. Used by the web-archive export.
    std::optional<std::int32_t> LastModified;
    std::optional<std::int32_t> Expires;
    std::optional<std::int32_t> ContentLength;
    std::string ContentEncoding;
    std::string Charset;
    std::optional<bool> IncompleteFile;

    // The server's response head (status line and header lines) as the
    // cache stored it, for the caches that keep one; the export then writes
    // a response record rather than a resource record. Netscape's caches
    // keep none.
    std::optional<std::string> ResponseHead;
};

using CacheEntryList = std::vector<CacheEntry>;

// "TEXT/" gives Text; "VIDEO", "IMAGE" or "AUDIO" Media; anything else,
// including a prefix shorter than five characters, Other. Takes the first
// five characters of the upper-cased MIME type (more are ignored).
Category ClassifyMimeType(std::string_view prefix);

}  // namespace restash
