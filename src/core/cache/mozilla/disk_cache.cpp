#include "core/cache/mozilla/disk_cache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "core/cache/mapped_file.h"
#include "core/cache/mozilla/disk_cache_read.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash::mozilla {
namespace {

constexpr const char* kMapName = "_CACHE_MAP_";

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

void ReadMap(const DiskCacheFiles& files, DiskCache& cache) {
    const auto path = files.Find(kMapName);
    if (!path) return;
    try {
        const MappedFile map(*path);
        cache.map = ParseCacheMap(map.bytes());
    } catch (const FileError& e) {
        cache.map.damage.push_back(e.problem());
    }
    cache.mapPresent = true;
    cache.mapSound = cache.map.damage.empty();
    if (cache.map.major == 1 && cache.map.minor >= 3 && cache.map.minor <= 19)
        cache.version = cache.map.minor;
}

}  // namespace

DiskCache ReadDiskCache(const std::string& folder, ProgressSink& progress) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) ThrowErrno(folder, errno);
    if (!S_ISDIR(st.st_mode)) throw FileError(folder, "Not a folder");
    DiskCache cache;
    cache.folder = WithTrailingSeparator(folder);
    const DiskCacheFiles files(cache.folder);
    ReadMap(files, cache);
    MetadataPlaces places;
    if (cache.mapPresent && !ReadThroughMap(files, cache, places, progress)) {
        cache.stopped = true;
        return cache;
    }
    if (cache.mapSound) return cache;
    if (!SearchEntries(files, cache, places, progress)) {
        cache.stopped = true;
        return cache;
    }
    for (const DiskCacheEntry& e : cache.entries) cache.version = std::max(cache.version, e.entryVersion);
    const std::string what = cache.mapPresent ? Joined(cache.map.damage) : "it is missing";
    cache.warnings.insert(
        cache.warnings.begin(),
        DamagedIndexWarning(cache.folder + kMapName, what, cache.entries.size()));
    return cache;
}

std::string DiskCacheFamily(unsigned minorVersion, bool mapPresent) {
    std::string browsers;
    if (minorVersion == 0)
        browsers = "Mozilla 0.9.5 to Firefox 31";
    else if (minorVersion <= 5)
        browsers = "Mozilla 0.9.5-1.7 / Netscape 6.1-8 / Firefox 0.8-1.0";
    else if (minorVersion <= 8)
        browsers = "Mozilla 1.8 / SeaMonkey 1 / Firefox 1.5-2 / Netscape 9";
    else if (minorVersion <= 18)
        browsers = "Firefox 3-3.6 / SeaMonkey 2.0";
    else
        browsers = "Firefox 4-31 / SeaMonkey 2.1-2.28";
    const std::string version = minorVersion ? "1." + std::to_string(minorVersion) : std::string();
    if (!mapPresent) return browsers + (version.empty() ? " (no map)" : " (entries " + version + ", no map)");
    return browsers + " (map " + version + ")";
}

}  // namespace restash::mozilla
