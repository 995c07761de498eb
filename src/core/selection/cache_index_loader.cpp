#include "core/selection/cache_index_loader.h"

namespace restash {

IndexLoader CacheIndexLoader(std::shared_ptr<const CacheSource> source, ProgressSink& progress) {
    return [source = std::move(source), &progress](CacheEntryList& entries) { source->Read(entries, progress); };
}

}  // namespace restash
