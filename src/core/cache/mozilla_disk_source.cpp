#include "core/cache/family_source.h"
#include "core/cache/mozilla/delete_entries.h"
#include "core/cache/mozilla/disk_cache.h"
#include "core/platform/error.h"

namespace restash {

MozillaDiskSource::MozillaDiskSource(std::string location, const RecognizedCache& cache)
    : FamilySource(std::move(location), cache, IndexFormat::MozillaDisk, cache.folder + "_CACHE_MAP_") {
    traits_.removal = RemovalKind::RewritesIndex;
}

FamilySource::StoredRead MozillaDiskSource::ReadStored(ProgressSink& progress) const {
    cache_ = std::make_shared<const mozilla::DiskCache>(mozilla::ReadDiskCache(Folder(), progress));
    // A cache without its map says which browsers wrote it only through its entries.
    if (!cache_->mapPresent) traits_.family = mozilla::DiskCacheFamily(cache_->version, false);
    return ReadOf(cache_, [](const mozilla::DiskCacheEntry& e) -> const StoredEntry& { return e.entry; });
}

std::string MozillaDiskSource::WhyRemovalIsRefused() const {
    if (!cache_) return {};
    const std::string why = mozilla::WhyDeletionIsUnsafe(*cache_);
    return why.empty() ? why : Location() + ": entries cannot be deleted safely: " + why;
}

Removal MozillaDiskSource::Remove(CacheEntryList& entries, const EntryFilter& chosen,
                                  const std::string& /*workFolder*/, FileSystem& fs, ProgressSink& progress) const {
    Removal removal;
    if (!progress.ProcessMessages()) {
        removal.ending = Ending::Stopped;
        return removal;
    }
    if (!cache_) throw Error(Location() + ": the cache has not been read");
    std::vector<std::size_t> doomed;
    for (const CacheEntry& entry : entries) {
        if (!chosen(entry)) continue;
        std::size_t position = 0;
        if (!Listed(LastRead(), entry, position))
            throw Error(Location() + ": the entry list does not come from the last read of the cache");
        doomed.push_back(position);
    }
    const mozilla::DiskCacheDeletion deletion = mozilla::DeleteDiskCacheEntries(*cache_, doomed, fs);
    // Every entry removed had a body: its blocks are freed, its separate files removed.
    removal.entriesRemoved = deletion.entriesRemoved;
    removal.bodiesRemoved = deletion.entriesRemoved;
    for (const std::string& failure : deletion.failures) removal.failures.push_back({{}, {}, failure});
    return removal;
}

}  // namespace restash
