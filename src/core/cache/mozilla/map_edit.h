#pragma once
// Taking records out of the bytes of a map, as the browser did: the last
// record of the bucket moves into the gap, the entry count and data size go
// down, the bucket's usage and eviction rank are brought up to date.
#include <string>

#include "core/cache/mozilla/cache_map.h"

namespace restash::mozilla {

// Removes record from bytes (a sound map that map was parsed from). Returns
// false when the record is not in its bucket.
bool RemoveMapRecord(std::string& bytes, const CacheMap& map, const MapRecord& record);

// What a record's storage counts in the header's data size: KB from map 1.19
// (each run rounded up), bytes before it; a separate file counts the size its
// location gives.
std::uint32_t StorageCounted(const MapRecord& record, unsigned mapMinor);

}  // namespace restash::mozilla
