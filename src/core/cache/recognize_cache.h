#pragma once
// Which cache a path the user names holds: an index file, a cache folder, or
// a browser profile folder in which the cache folder is looked for.
#include <string>
#include <vector>

namespace restash {

enum class CacheFormat {
    Unknown,
    NetscapeText,  // FAT, "MCOM-Cache-file-allocation-table" (Netscape 1 and 2)
    NetscapeHash,  // FAT.DB / index.db, a DB 1.85 hash file (Netscape 2 to 4)
    Netscape6,     // cache.db and 00/ to 1f/ (Netscape 6.0)
    MozillaDisk,   // _CACHE_MAP_ and _CACHE_001_ to _CACHE_003_ (Netscape 6.1 to 9, Mozilla, Firefox to 31)
    Cache2,        // cache2/entries/ (Firefox 32 and later)
};

// "Netscape text index", "Netscape hash index", "Netscape 6.0 cache",
// "Mozilla disk cache", "cache2", "unknown".
const char* CacheFormatName(CacheFormat format);

struct RecognizedCache {
    CacheFormat format = CacheFormat::Unknown;
    std::string family;     // the browsers it came from: "Netscape 2-4", "Firefox 32+ (cache2)"
    std::string indexPath;  // the index file; empty for cache2 and a disk cache without its map
    std::string folder;     // the cache folder, ending in "/"
    std::string problem;    // Unknown: why, naming the path
    // A profile holding more than one cache (an old Cache/ beside cache2/):
    // the others, in the order they were found.
    std::vector<RecognizedCache> others;
};

// Recognises the cache a path names. A file is taken as the index it is
// (by its name: _CACHE_MAP_, cache.db, a cache2 entry; otherwise by its
// contents, as a Netscape index); a folder by the files it holds; a folder
// holding none of them is searched, with its *.slt folders, for Cache/,
// cache2/ and NewCache/ (letter case aside).
RecognizedCache RecognizeCache(const std::string& path);

}  // namespace restash
