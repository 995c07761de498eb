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
#include "core/cache/index_diagnosis.h"
#include "core/platform/progress.h"

namespace restash {

// indexPath names the file in warnings. A line whose time stamp is not a
// number is skipped with a warning naming the line; a last warning says how
// many lines were skipped and how many entries could be read.
CacheRead ReadTextIndex(std::string_view bytes, const std::string& indexPath, const CacheFolder& folder,
                        CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options = {});

// How a read of a hash index ended and what it found damaged.
struct HashIndexRead {
    Ending ending = Ending::Finished;
    HashDamage damage;
};

// release(from, to), when given, is told which byte ranges of bytes the hash
// reader no longer needs in memory (it may read them again).
HashIndexRead ReadHashIndex(std::string_view bytes, const CacheFolder& folder, CacheEntryList& entries,
                            ProgressSink& progress, const ReadOptions& options = {},
                            const std::function<void(std::size_t, std::size_t)>& release = {});

// What both sources do around a reader: maps the index, shows the busy state
// while read(bytes, folder) works, and empties entries once the file is open.
CacheRead ReadMappedIndex(const std::string& indexPath, const std::string& cacheDir, CacheEntryList& entries,
                          ProgressSink& progress,
                          const std::function<CacheRead(std::string_view bytes, const CacheFolder& folder,
                                                        const std::function<void(std::size_t, std::size_t)>& release)>&
                              read);

}  // namespace restash
