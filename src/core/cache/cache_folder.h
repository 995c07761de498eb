#pragma once
// The cache folder, listed once per index read. Cache files are looked up
// without regard to letter case (a FAT volume mounted on Linux shows 8.3 names
// in lower case), in subfolders too (Unix builds keep files in 00/, 01/ ...).
// A name that is absolute, holds a ".." component, or reaches a file through a
// symbolic link that leads outside the folder is never found: a hostile index
// can make Restash neither read, copy nor delete anything outside it.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace restash {

class CacheFolder {
public:
    // Lists dir (ending in "/"; empty means the current folder) and its
    // subfolders. A folder that cannot be listed holds no files.
    explicit CacheFolder(std::string dir);

    // A folder that answers every safe name as present, without listing
    // anything: the fuzz targets read indexes whose names exist nowhere.
    static CacheFolder AnsweringEveryName(std::string dir);

    // The real path of the cache file an index names ("/" or "\" between
    // folder names), or nothing when it is missing or unsafe.
    std::optional<std::string> Find(std::string_view name) const;
    bool Exists(std::string_view name) const { return Find(name).has_value(); }

    const std::string& dir() const { return dir_; }

private:
    struct EveryName {};
    CacheFolder(std::string dir, EveryName) : dir_(std::move(dir)), everyName_(true) {}

    std::string dir_;
    bool everyName_ = false;
    std::unordered_map<std::string, std::string> files_;  // upper-cased relative path -> real relative path
};

// True when an index's file name may be used at all: not empty, not
// absolute, no ".." component.
bool IsSafeCacheName(std::string_view name);

}  // namespace restash
