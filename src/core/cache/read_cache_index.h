#pragma once
// Reading Netscape's cache index into the cache entry list.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_folder.h"
#include "core/platform/progress.h"

namespace restash {

// The caption of the selection window's busy panel while the index is read.
inline constexpr const char* kReadingCaption = "Processing Cache Index. Please Wait.";

// TextIndex when the first 10 characters of the file's first line, upper-cased,
// are "MCOM-CACHE" or "MOSAIC-COM"; HashIndex otherwise. Throws FileError when
// the file cannot be opened.
IndexFormat DetectIndexFormat(const std::string& indexPath);

// Empties entries and fills it from the index cacheDir + fatName by the
// reader of format. Shows the busy state through progress and clears it
// again however the read ends. Throws FileError when the index cannot be
// opened (entries then keep their previous contents) and Error for a text
// index line whose time stamp is not a number (entries read before it stay).
void ReadCacheIndex(IndexFormat format, const std::string& cacheDir, const std::string& fatName,
                    CacheEntryList& entries, ProgressSink& progress);

// The two readers over the bytes of a whole index file (ReadCacheIndex maps
// the file); they append to entries. indexPath only names the file in errors.
void ReadTextIndex(std::string_view bytes, const std::string& indexPath, const CacheFolder& folder,
                   CacheEntryList& entries, ProgressSink& progress);
// release(from, to), when given, is told which byte ranges of bytes the hash
// reader no longer needs in memory (it may read them again).
void ReadHashIndex(std::string_view bytes, const CacheFolder& folder, CacheEntryList& entries,
                   ProgressSink& progress, const std::function<void(std::size_t, std::size_t)>& release = {});

}  // namespace restash
