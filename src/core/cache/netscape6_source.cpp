#include "core/cache/family_source.h"
#include "core/cache/netscape6/netscape6_cache.h"

namespace restash {

Netscape6Source::Netscape6Source(std::string location, const RecognizedCache& cache)
    : FamilySource(std::move(location), cache, IndexFormat::Netscape6, cache.indexPath),
      indexPath_(cache.indexPath) {}

FamilySource::StoredRead Netscape6Source::ReadStored(ProgressSink& progress) const {
    return ReadOf(std::make_shared<const netscape6::Netscape6Cache>(netscape6::ReadNetscape6Cache(indexPath_, progress)),
                  [](const StoredEntry& e) -> const StoredEntry& { return e; });
}

std::string Netscape6Source::WhyRemovalIsRefused() const {
    return Location() + ": entries cannot be deleted from a Netscape 6.0 cache: its cache.db would still list them";
}

}  // namespace restash
