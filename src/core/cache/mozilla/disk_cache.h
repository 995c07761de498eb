#pragma once
// Reading Mozilla's disk cache, version 1: the cache folder of Netscape 6.1
// to 9, the Mozilla suite and Firefox up to 31 (_CACHE_MAP_, _CACHE_001_ to
// _CACHE_003_ and the separate files).
//
// With a sound map every record is read. When the map is missing or damaged
// (a dirty flag, a short file, counts that disagree), the records that still
// lead to their own metadata are read, and the block files and separate
// metadata files are searched for every other metadata entry; such an entry's
// body is found when it lies in a separate data file (named for the key's
// hash), and the reader warns that entries may be missing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/cache/mozilla/cache_map.h"
#include "core/platform/warning.h"
#include "core/cache/stored_entry.h"
#include "core/platform/progress.h"

namespace restash::mozilla {

struct DiskCacheEntry {
    StoredEntry entry;
    std::uint32_t hashNumber = 0;
    unsigned entryVersion = 0;        // the minor version in the metadata entry (1.N)
    std::optional<MapRecord> record;  // the map record it was read through; none when found by searching
};

struct DiskCache {
    std::string folder;  // ending in "/"
    bool mapPresent = false;
    bool mapSound = false;  // read through a map without damage
    CacheMap map;           // what the map said (empty when missing)
    unsigned version = 0;   // the minor version (1.N) of the map, else of the entries found
    std::vector<DiskCacheEntry> entries;
    Warnings warnings;
    bool stopped = false;  // the progress sink asked to stop
};

// Reads the cache in folder. Throws FileError when folder cannot be listed;
// every kind of damage inside it is a warning.
DiskCache ReadDiskCache(const std::string& folder, ProgressSink& progress);

// The browsers whose caches a map version comes from, for the selection
// window and list: "Mozilla 1.8 / Firefox 1.5-2 / Netscape 8-9 (map 1.8)".
std::string DiskCacheFamily(unsigned minorVersion, bool mapPresent);

}  // namespace restash::mozilla
