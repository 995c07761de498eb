#include "core/cache/cache2/cache2_cache.h"
#include "core/cache/family_source.h"

namespace restash {

Cache2Source::Cache2Source(std::string location, const RecognizedCache& cache)
    : FamilySource(std::move(location), cache, IndexFormat::Cache2, cache.folder + "entries") {}

FamilySource::StoredRead Cache2Source::ReadStored(ProgressSink& progress) const {
    return ReadOf(std::make_shared<const cache2::Cache2Cache>(cache2::ReadCache2(Folder(), progress)),
                  [](const cache2::Cache2Entry& e) -> const StoredEntry& { return e.entry; });
}

std::string Cache2Source::WhyRemovalIsRefused() const {
    return Location() +
           ": entries cannot be deleted from a cache2 cache: Firefox keeps an index of its entry files that "
           "would no longer match them (clear the cache in Firefox instead)";
}

}  // namespace restash
