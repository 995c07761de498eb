#pragma once
// Netscape's cache records inside a hash index: the key holds the object's
// address, the data its time stamps, cache file name and content type in a
// layout that depends on the record's format version.
#include <string_view>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_folder.h"
#include "core/cache/cache_source.h"

namespace restash {

// What one record says, in a CacheEntry before the field rules: file name
// (as the body's name),
// address and content type as stored, with the reader's length bounds
// applied (a file-name length of 50 or more, an address length of 512 or
// more and a content-type length of 100 or more each give an empty text).
// Only the versions whose layout is known fill the extras; the dates are
// kept as stored (Netscape writes 0 for "none").
using IndexRecord = CacheEntry;

// Netscape's own bookkeeping records ("INT_DiskCacheSize", "INT_DiskCacheNumber",
// "INT_ExternalCacheNameString") have keys that begin "INT_"; an object's key
// begins with its 4-byte size, which never spells that.
bool IsBookkeepingKey(std::string_view key);

// Decodes one key/data pair of the index. Version 3 and version 5 records are
// read field by field (so a secure page's cipher name and certificate, or a
// security block of any size, are stepped over); other versions by the fixed
// offsets the version-3 layout has when its security block is empty.
IndexRecord DecodeCacheRecord(std::string_view key, std::string_view data);

// The field rules every hash-index entry goes through: MIME type cut to 50
// characters and upper-cased, file name upper-cased, the entry dropped when
// its cache file is missing (unless the options keep absent bodies), domain
// and category derived. Appends the entry when it is kept.
void AcceptRecord(IndexRecord record, const CacheFolder& folder, CacheEntryList& entries,
                  const ReadOptions& options = {});

}  // namespace restash
