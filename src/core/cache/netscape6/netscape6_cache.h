#pragma once
// Reading Netscape 6.0's disk cache: cache.db, a DB 1.85 hash file of
// records (see netscape6_record.h), and the bodies in 32 folders 00/ to 1f/
// beside it. Netscape 6.1 replaced it with Mozilla's disk cache.
#include <string>
#include <vector>

#include "core/platform/warning.h"
#include "core/cache/stored_entry.h"
#include "core/platform/progress.h"

namespace restash::netscape6 {

struct Netscape6Cache {
    std::string folder;                // ending in "/"
    std::vector<StoredEntry> entries;  // in the order the hash file holds them
    Warnings warnings;
    bool stopped = false;
};

// Reads the cache whose cache.db is indexPath. Throws FileError when the
// file cannot be read; a header that is not a DB 1.85 hash file's is a
// DamagedIndex warning with no entries.
Netscape6Cache ReadNetscape6Cache(const std::string& indexPath, ProgressSink& progress);

}  // namespace restash::netscape6
