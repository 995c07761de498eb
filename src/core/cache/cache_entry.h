#pragma once
// One entry of a cache, as its source read it: what every cache format knows
// about an object (address, type, time stamps, size, kind, domain, the
// further facts some formats keep) and a handle on its body that only the
// source that read it can open (CacheSource::Bodies).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/web/file_kind.h"

namespace restash {

// The cache formats: the two forms of Netscape's cache index (Netscape 1 to
// 4), Mozilla's disk cache (Netscape 6.1 to 9, Mozilla, Firefox to 31),
// cache2 (Firefox 32 and later) and Netscape 6.0's cache.
enum class IndexFormat { TextIndex, HashIndex, MozillaDisk, Cache2, Netscape6 };

// Where an entry's body is, in the terms of the source that read it.
struct BodyRef {
    std::string Name;            // how the index names the body: for Netscape the cache file, relative to
                                 // the cache folder (upper case for a hash index); shown in lists and manifests
    std::uint64_t Location = 0;  // a source's own address of a body kept inside a larger file (0: none)
    bool Present = true;         // the body was there when the index was read
};

struct CacheEntry {
    std::int32_t Stamp = 0;  // seconds since 1 January 1970, as stored in the index
    std::string Url;         // the object's URL, case unchanged
    std::string MimeType;    // upper-cased, at most 50 characters
    std::string Domain;      // EntryDomain(Url): DomainOf the URL, at most 50 characters
    Category category = Category::Other;
    BodyRef Body;

    // Further facts some formats (some record versions of a hash index)
    // carry; empty when the record does not hold them. Used by the export.
    std::optional<std::int32_t> LastModified;
    std::optional<std::int32_t> Expires;
    std::optional<std::int32_t> ContentLength;
    std::string ContentEncoding;
    std::string Charset;
    std::optional<bool> IncompleteFile;
    // The format version of the record the entry was read from, where the
    // index stores one (a hash index's records do).
    std::optional<std::uint32_t> RecordVersion;

    // The server's response head (status line and header lines) as the
    // cache stored it, for the caches that keep one; the export then writes
    // a response record rather than a resource record. Netscape's caches
    // keep none.
    std::optional<std::string> ResponseHead;
};

using CacheEntryList = std::vector<CacheEntry>;

}  // namespace restash
