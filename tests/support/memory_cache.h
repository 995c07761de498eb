#pragma once
// A cache source whose entries and bodies live in memory: for tests that need
// a cache without files, and for the seam itself, since its bodies are no
// plain files (they are read through their stream, as a format that keeps
// bodies inside larger files would have them read).
#include <map>
#include <string>

#include "core/cache/cache_source.h"

namespace restash::test {

class MemoryCache final : public CacheSource {
public:
    explicit MemoryCache(CacheEntryList entries = {}, IndexFormat format = IndexFormat::TextIndex);

    // What stands for the disk, changed by Remove: bodies by the entry's
    // body name (an entry without one has no body) and the entries Read gives.
    mutable std::map<std::string, std::string> bodies;
    mutable CacheEntryList entries;
    // What Read warns of.
    Warnings warnings;
    // When set, Read throws a FileError with this problem, naming the cache.
    std::string readError;
    // Names whose body cannot be read (Open throws FileError).
    std::map<std::string, std::string> unreadable;
    // How often Read ran; it asks ProcessMessages() once per entry.
    mutable int reads = 0;

    const CacheTraits& Traits() const override { return traits_; }
    const std::string& Location() const override { return location_; }
    CacheRead Read(CacheEntryList& out, ProgressSink& progress, const ReadOptions& options = {}) const override;
    std::unique_ptr<BodyLookup> Bodies() const override;
    Removal Remove(CacheEntryList& list, const EntryFilter& chosen, const std::string& workFolder, FileSystem& fs,
                   ProgressSink& progress) const override;

    CacheTraits& MutableTraits() { return traits_; }

private:
    CacheTraits traits_;
    std::string location_ = "memory:";
};

// An entry of a memory cache: address, MIME type (upper-cased), stamp and
// body name, with domain and category by the readers' rules.
CacheEntry MemoryEntry(const std::string& url, const std::string& mime, std::int32_t stamp, const std::string& body);

}  // namespace restash::test
