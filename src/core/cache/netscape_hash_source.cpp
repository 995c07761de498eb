#include "core/cache/cache_folder.h"
#include "core/cache/netscape_readers.h"
#include "core/cache/netscape_source.h"

namespace restash {

CacheRead NetscapeHashSource::Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options) const {
    return ReadMappedIndex(Location(), CacheDir(), entries, progress,
                           [&](std::string_view bytes, const CacheFolder& folder, const auto& release) {
                               const HashIndexRead read =
                                   ReadHashIndex(bytes, folder, entries, progress, options, release);
                               CacheRead out{read.ending, {}};
                               const std::string damage = read.damage.Describe();
                               // Said once, when the whole file has been read.
                               if (read.ending == Ending::Finished && !damage.empty())
                                   out.warnings.push_back(DamagedIndexWarning(Location(), damage, entries.size()));
                               return out;
                           });
}

Removal NetscapeHashSource::Remove(CacheEntryList& entries, const EntryFilter& chosen,
                                   const std::string& /*workFolder*/, FileSystem& fs, ProgressSink& progress) const {
    Removal removal;
    if (!progress.ProcessMessages()) {
        removal.ending = Ending::Stopped;
        return removal;
    }
    // One pass that keeps the other entries in order: what the walk that
    // re-examines each emptied position leaves, without its cost.
    const CacheFolder folder(CacheDir());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // An entry whose file could not be removed (a read-only disk) stays
        // in the list: the next read of the index shows it too.
        if (chosen(entries[i]) && RemoveCacheFile(folder, entries[i], fs, removal)) {
            ++removal.entriesRemoved;
        } else {
            if (kept != i) entries[kept] = std::move(entries[i]);
            ++kept;
        }
    }
    entries.resize(kept);
    return removal;
}

RemovalPlan NetscapeHashSource::PlanRemoval(const CacheEntryList& entries, const EntryFilter& chosen,
                                            ProgressSink& progress) const {
    RemovalPlan plan;
    if (!progress.ProcessMessages()) {
        plan.ending = Ending::Stopped;
        return plan;
    }
    const CacheFolder folder(CacheDir());
    for (const CacheEntry& entry : entries) {
        if (!chosen(entry)) continue;
        if (const std::optional<std::string> path = folder.Find(entry.Body.Name))
            plan.bodies.push_back({entry.Url, entry.Body.Name, *path});
    }
    return plan;
}

}  // namespace restash
