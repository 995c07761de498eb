#pragma once
// The two ways the disk cache reader finds entries: through the map's
// records, and by searching the block files and separate metadata files.
#include <set>
#include <string>

#include "core/cache/mozilla/disk_cache.h"
#include "core/cache/mozilla/disk_cache_files.h"
#include "core/cache/mozilla/disk_entry.h"

namespace restash::mozilla {

// Where an entry's metadata lies ("_CACHE_001_@12", "0/A1/B2C3Dm01"), so the
// search skips entries already read through the map.
using MetadataPlaces = std::set<std::string>;

// A disk cache entry from its metadata entry; the body is left for the caller.
DiskCacheEntry EntryFromMetadata(const DiskEntry& metadata, const std::string& metadataFile);

// Reads every record of cache.map. With a sound map a record whose metadata
// cannot be read is a warning; otherwise such records, and those whose key
// does not hash to their hash number, are passed over (the search finds what
// they still hold). Returns false when the progress sink asked to stop.
bool ReadThroughMap(const DiskCacheFiles& files, DiskCache& cache, MetadataPlaces& places,
                    ProgressSink& progress);

// Searches the block files and separate metadata files for the entries not in
// places. Returns false when the progress sink asked to stop.
bool SearchEntries(const DiskCacheFiles& files, DiskCache& cache, MetadataPlaces& places,
                   ProgressSink& progress);

}  // namespace restash::mozilla
