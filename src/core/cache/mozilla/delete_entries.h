#pragma once
// Deleting entries from Mozilla's disk cache so that the cache stays whole
// for the browser: each entry's record leaves the map (the header's entry
// count, data size, bucket usage and eviction ranks follow), its blocks are
// zeroed and freed in their block file's bitmap, its separate files are
// removed. Only a sound map is changed, and only when every block file's
// bitmap agrees with it, so nothing is freed that another entry uses.
#include <cstddef>
#include <string>
#include <vector>

#include "core/cache/mozilla/disk_cache.h"
#include "core/platform/file_system.h"

namespace restash::mozilla {

struct DiskCacheDeletion {
    std::size_t entriesRemoved = 0;
    std::size_t filesRemoved = 0;       // separate files removed
    std::vector<std::string> failures;  // separate files that could not be removed, with the reason
};

// Why the entries of cache cannot be deleted safely, or empty when they can.
std::string WhyDeletionIsUnsafe(const DiskCache& cache);

// Deletes cache.entries[i] for each i of indexes. The new map replaces the
// old one first (written beside it, then renamed), then the block files are
// replaced the same way, then the separate files go: a failure while the map
// is written leaves the cache as it was, a later one leaves blocks in use
// that no record names (space lost, nothing broken). Throws Error saying why
// when the deletion is not safe or the map changed since cache was read, and
// FileError for a file that cannot be written.
DiskCacheDeletion DeleteDiskCacheEntries(const DiskCache& cache, const std::vector<std::size_t>& indexes,
                                         FileSystem& fs);

}  // namespace restash::mozilla
