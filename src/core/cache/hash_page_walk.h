#pragma once
// The reader of last resort for a hash index whose header page is damaged or
// missing: every 16,384-byte page after the first is walked on its own, from
// the start of its data area upwards, with fixed record offsets. It finds
// what a damaged file still holds; it cannot tell live pairs from stale ones.
#include <string_view>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_folder.h"
#include "core/cache/cache_source.h"
#include "core/platform/progress.h"

namespace restash {

inline constexpr std::size_t kWalkPageSize = 16384;
inline constexpr int kWalkEntriesPerPage = 250;

// Appends the entries of every page after the first; Stopped when the
// progress sink asked to stop.
Ending WalkHashPages(std::string_view file, const CacheFolder& folder, CacheEntryList& entries,
                     ProgressSink& progress, const ReadOptions& options = {});

}  // namespace restash
