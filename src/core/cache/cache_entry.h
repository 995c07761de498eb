#pragma once
// One entry of Netscape's cache index, as the reader accepted it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/web/file_kind.h"

namespace restash {

// The two forms of the cache index.
enum class IndexFormat { TextIndex, HashIndex };

struct CacheEntry {
    std::int32_t Stamp = 0;  // seconds since 1 January 1970, as stored in the index
    std::string FileName;    // the cache file, relative to the cache folder (upper case for a hash index)
    std::string Url;         // the object's URL, case unchanged
    std::string MimeType;    // upper-cased, at most 50 characters
    std::string Domain;      // EntryDomain(Url): DomainOf the URL, at most 50 characters
    Category category = Category::Other;

    // Further facts some record versions of a hash index carry; empty when
    // the record does not hold them. Used by the web-archive export.
    std::optional<std::int32_t> LastModified;
    std::optional<std::int32_t> Expires;
    std::optional<std::int32_t> ContentLength;
    std::string ContentEncoding;
    std::string Charset;
    std::optional<bool> IncompleteFile;
};

using CacheEntryList = std::vector<CacheEntry>;

}  // namespace restash
