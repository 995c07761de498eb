#pragma once
// One entry of a Mozilla-family cache (Netscape 6 to 9, Mozilla, Firefox):
// what its metadata says, where its body is, and the facts a Restash cache
// entry carries, derived from them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/cache/stored_body.h"

namespace restash {

struct StoredEntry {
    std::string key;               // the cache key exactly as stored
    std::string address;           // the URI the key holds
    std::string method;            // "GET", "POST", ...; empty when the entry does not say
    std::string postId;            // the POST form's id; empty for other requests
    bool anonymous = false;        // fetched without cookies ("anon&", "a,")
    std::string originAttributes;  // cache2: the "O^..." tag's value
    std::uint32_t fetchCount = 0;
    std::uint32_t lastFetched = 0;   // seconds since 1970 UTC
    std::uint32_t lastModified = 0;  // 0: not known
    std::uint32_t expires = 0;       // 0 or 0xFFFFFFFF: none
    std::uint32_t dataSize = 0;      // the body's size as the metadata gives it
    std::string responseHead;        // the "response-head" element (or Netscape 6.0's header lines)
    std::string charsetElement;      // the "charset" element
    std::vector<std::pair<std::string, std::string>> elements;  // every key\0value\0 element, in order
    BodyLocation body;
    std::string metadataFile;  // the file the metadata was read from, within the cache folder

    // The first element of that name, if any.
    std::optional<std::string> Element(std::string_view name) const;
};

// The key\0value\0 elements of a metadata block. A value without its NUL at
// the very end is taken as it is; a lone key at the end is dropped.
std::vector<std::pair<std::string, std::string>> SplitElements(std::string_view block);

// Sets entry's elements from a metadata block, and from them its response
// head, charset element and (when the entry does not know it yet) method.
void TakeElements(StoredEntry& entry, std::string_view block);

// What every Mozilla-family metadata header says of an entry.
struct FetchFacts {
    std::uint32_t fetchCount = 0, lastFetched = 0, lastModified = 0, expires = 0;
};

// Sets the facts and the elements; an entry with a POST id (entry.postId set
// before) whose elements name no method is a POST.
void TakeMetadata(StoredEntry& entry, const FetchFacts& facts, std::string_view elements);

// The facts Restash's cache entry has: Stamp = last fetched, Url = address,
// MimeType from the response head (else the address's extension), Domain,
// category, last modified, expires, ContentLength = the stored data size,
// ContentEncoding and Charset from the head (charset: else the element);
// Body.Name = the body's file within the cache folder.
CacheEntry ToCacheEntry(const StoredEntry& entry);

}  // namespace restash
