#pragma once
// Reading Firefox's cache2 (Firefox 32 and later): the folder cache2/ with
// entries/, one file per entry named for the SHA-1 of its key. The index
// file beside it is not needed: every entry file describes itself.
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/warning.h"
#include "core/cache/stored_entry.h"
#include "core/platform/progress.h"

namespace restash::cache2 {

struct Cache2Entry {
    StoredEntry entry;
    std::uint32_t version = 0;  // of the metadata: 1, 2 or 3
    std::uint32_t flags = 0;
    std::uint32_t frecency = 0;
    std::string idExtension;  // the key's '~' value
    bool isPrivate = false;
    bool checksumMatches = false;
};

struct Cache2Cache {
    std::string folder;                // the cache2 folder, ending in "/"
    std::vector<Cache2Entry> entries;  // in file name order
    Warnings warnings;
    bool stopped = false;
};

// Reads every file of folder's entries/ (folder may also name entries/
// itself). Throws FileError when there is no entries folder to list; an
// entry file that cannot be read is a warning.
Cache2Cache ReadCache2(const std::string& folder, ProgressSink& progress);

// One entry file (relativePath names it within the cache2 folder). Throws
// FileError when it cannot be read; returns false with problem set when it
// is not an entry file.
bool ReadCache2Entry(const std::string& path, const std::string& relativePath, Cache2Entry& entry,
                     std::string& problem);

// "Firefox 32+ (cache2)".
std::string Cache2Family();

}  // namespace restash::cache2
