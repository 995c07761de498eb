#pragma once
// The readers of Netscape's cache index, over the bytes of a whole index
// file (the sources map the file); they append to entries. A cache file
// missing from the folder leaves its entry out unless the options ask for
// absent bodies too.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_folder.h"
#include "core/cache/cache_source.h"
#include "core/platform/progress.h"

namespace restash {

// indexPath only names the file in errors. Throws Error for a line whose
// time stamp is not a number (the entries before it stay).
Ending ReadTextIndex(std::string_view bytes, const std::string& indexPath, const CacheFolder& folder,
                     CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options = {});

// release(from, to), when given, is told which byte ranges of bytes the hash
// reader no longer needs in memory (it may read them again).
Ending ReadHashIndex(std::string_view bytes, const CacheFolder& folder, CacheEntryList& entries,
                     ProgressSink& progress, const ReadOptions& options = {},
                     const std::function<void(std::size_t, std::size_t)>& release = {});

// What both sources do around a reader: maps the index, shows the busy state
// while read(bytes, folder) works, and empties entries once the file is open.
Ending ReadMappedIndex(const std::string& indexPath, const std::string& cacheDir, CacheEntryList& entries,
                       ProgressSink& progress,
                       const std::function<Ending(std::string_view bytes, const CacheFolder& folder,
                                                  const std::function<void(std::size_t, std::size_t)>& release)>& read);

}  // namespace restash
