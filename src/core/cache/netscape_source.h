#pragma once
// Netscape's disk cache: an index file, in text form or as a DB 1.85 hash
// file, beside one plain file per object in the cache folder (and its
// subfolders). The two forms are the two sources below; they share the
// cache folder, whose files are the bodies.
#include <string>

#include "core/cache/cache_source.h"

namespace restash {

class NetscapeSource : public CacheSource {
public:
    const CacheTraits& Traits() const override { return traits_; }
    const std::string& Location() const override { return indexPath_; }
    std::unique_ptr<BodyLookup> Bodies() const override;
    void ClearLeftovers(const std::string& workFolder, FileSystem& fs) const override;

    // The folder of the index file, ending in "/" (empty: the current folder).
    const std::string& CacheDir() const { return cacheDir_; }

protected:
    NetscapeSource(std::string indexPath, IndexFormat format);

    // Removes the cache file an index names, when it is in the cache folder;
    // counts it, or adds the reason to the failures. False when the file is
    // there but could not be removed.
    static bool RemoveCacheFile(const class CacheFolder& folder, const CacheEntry& entry, FileSystem& fs,
                                Removal& removal);

private:
    std::string indexPath_;
    std::string cacheDir_;
    CacheTraits traits_;
};

// The text form: a header line, then one line per object.
class NetscapeTextSource final : public NetscapeSource {
public:
    explicit NetscapeTextSource(std::string indexPath) : NetscapeSource(std::move(indexPath), IndexFormat::TextIndex) {}
    CacheRead Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options = {}) const override;
    // Rewrites the index without the lines chosen into a new file beside it
    // (INDEX.restash-new), replaces the index with it in one rename once it
    // is complete, and only then removes the cache files of those lines.
    Removal Remove(CacheEntryList& entries, const EntryFilter& chosen, const std::string& workFolder, FileSystem& fs,
                   ProgressSink& progress) const override;
    // The chosen lines, and the cache files of those that name one.
    RemovalPlan PlanRemoval(const CacheEntryList& entries, const EntryFilter& chosen,
                            ProgressSink& progress) const override;
};

// The hash form: a Berkeley DB 1.85 hash file whose pairs are the records.
class NetscapeHashSource final : public NetscapeSource {
public:
    explicit NetscapeHashSource(std::string indexPath) : NetscapeSource(std::move(indexPath), IndexFormat::HashIndex) {}
    CacheRead Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options = {}) const override;
    // Removes the cache files of the chosen entries and the entries from the
    // list; the index file is left as it is (the next read skips them).
    Removal Remove(CacheEntryList& entries, const EntryFilter& chosen, const std::string& workFolder, FileSystem& fs,
                   ProgressSink& progress) const override;
    // The cache files of the chosen entries; the index keeps its records.
    RemovalPlan PlanRemoval(const CacheEntryList& entries, const EntryFilter& chosen,
                            ProgressSink& progress) const override;
};

// The file earlier versions wrote a text-index rewrite to, in the program's
// folder; a deletion removes one that was left there.
inline constexpr const char* kTempFatName = "TEMP.FAT";

}  // namespace restash
