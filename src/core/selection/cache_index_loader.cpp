#include "core/selection/cache_index_loader.h"

#include "core/cache/read_cache_index.h"

namespace restash {

IndexLoader CacheIndexLoader(IndexFormat format, std::string cacheDir, std::string fatName, ProgressSink& progress) {
    return [format, cacheDir = std::move(cacheDir), fatName = std::move(fatName), &progress](CacheEntryList& entries) {
        ReadCacheIndex(format, cacheDir, fatName, entries, progress);
    };
}

}  // namespace restash
