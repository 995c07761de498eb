#pragma once
// The caches of Netscape 6 to 9, Mozilla and Firefox as cache sources: the
// Mozilla disk cache (_CACHE_MAP_ and its block and separate files), cache2
// (one file per entry) and Netscape 6.0's cache.db. Each entry's facts come
// from its stored metadata (the address from its key, the MIME type from its
// response head, the time stamp when it was last fetched, in UTC); its body is
// found again through the read that listed it, and is decoded for the
// browsable copy where the response head names a content coding.
#include <memory>
#include <string>
#include <vector>

#include "core/cache/cache_source.h"
#include "core/cache/recognize_cache.h"
#include "core/cache/stored_entry.h"

namespace restash {

namespace mozilla {
struct DiskCache;
}

class FamilySource : public CacheSource {
public:
    const CacheTraits& Traits() const override { return traits_; }
    const std::string& Location() const override { return location_; }
    // Lists the entries with a body (all of them with includeAbsent): each
    // entry's Body.Location is its position in the read, counted from 1.
    CacheRead Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options = {}) const override;
    std::unique_ptr<BodyLookup> Bodies() const override;
    std::string LockFile() const override { return lockFile_; }

    // The cache folder, ending in "/".
    const std::string& Folder() const { return folder_; }

    // One read of the cache: its entries in reader order, kept alive by owner.
    struct StoredRead {
        std::shared_ptr<const void> owner;
        std::vector<const StoredEntry*> entries;
        Warnings warnings;
        bool stopped = false;
    };

    // The stored entry of read that entry was listed from, and its position
    // in the read (from 0); nothing when entry does not line up with it (a
    // list from another read).
    static const StoredEntry* Listed(const StoredRead* read, const CacheEntry& entry, std::size_t& position);

protected:
    // location: what the user named; cache: what it was recognised as.
    FamilySource(std::string location, const RecognizedCache& cache, IndexFormat format, std::string lockFile);

    // Reads the cache; throws FileError when its folder or index cannot be read.
    virtual StoredRead ReadStored(ProgressSink& progress) const = 0;
    // A reader's cache as a read: its warnings, whether it stopped, and
    // entryOf(element) of every element of its entries.
    template <typename Cache, typename EntryOf>
    static StoredRead ReadOf(std::shared_ptr<const Cache> cache, EntryOf entryOf) {
        StoredRead read;
        read.warnings = cache->warnings;
        read.stopped = cache->stopped;
        for (const auto& element : cache->entries) read.entries.push_back(&entryOf(element));
        read.owner = std::move(cache);
        return read;
    }
    // The last read, as Read listed it.
    const StoredRead* LastRead() const { return last_.get(); }

    mutable CacheTraits traits_;  // a read may learn the family better than the folder told

private:
    std::string location_;
    std::string folder_;
    std::string lockFile_;
    mutable std::shared_ptr<const StoredRead> last_;
};

// Mozilla's disk cache, map versions 1.3 to 1.19. Entries are removed only
// from a sound map whose block files agree with it (see
// mozilla/delete_entries.h).
class MozillaDiskSource final : public FamilySource {
public:
    MozillaDiskSource(std::string location, const RecognizedCache& cache);
    std::string WhyRemovalIsRefused() const override;
    Removal Remove(CacheEntryList& entries, const EntryFilter& chosen, const std::string& workFolder, FileSystem& fs,
                   ProgressSink& progress) const override;

private:
    StoredRead ReadStored(ProgressSink& progress) const override;
    mutable std::shared_ptr<const mozilla::DiskCache> cache_;
};

// Firefox's cache2. Firefox keeps an index of the entry files that a removal
// would leave wrong, so entries are not removed.
class Cache2Source final : public FamilySource {
public:
    Cache2Source(std::string location, const RecognizedCache& cache);
    std::string WhyRemovalIsRefused() const override;

private:
    StoredRead ReadStored(ProgressSink& progress) const override;
};

// Netscape 6.0's cache: cache.db and the folders 00/ to 1f/. Entries are
// not removed: cache.db would still list them.
class Netscape6Source final : public FamilySource {
public:
    Netscape6Source(std::string location, const RecognizedCache& cache);
    std::string WhyRemovalIsRefused() const override;

private:
    StoredRead ReadStored(ProgressSink& progress) const override;
    std::string indexPath_;
};

}  // namespace restash
