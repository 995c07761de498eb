#include "core/cache/mozilla/cache_key.h"
#include "core/cache/mozilla/disk_cache_read.h"
#include "core/cache/mozilla/hash_numbers.h"

namespace restash::mozilla {
namespace {

constexpr std::size_t kProgressEvery = 1024;

std::string PlaceOf(CacheLocation location, const std::string& relativePath) {
    if (location.File() == 0) return relativePath;
    return relativePath + "@" + std::to_string(location.FirstBlock());
}

bool KeyHashes(const std::string& key, std::uint32_t hashNumber) {
    return Lookup2Hash(key) == hashNumber || EarlyKeyHash(key) == hashNumber;
}

void NoteBody(const DiskCacheEntry& e, Warnings& warnings) {
    const BodyLocation& body = e.entry.body;
    if (body.Missing())
        warnings.push_back(
            FileWarning(WarningCode::BodyMissing, body.relativePath, "the body of " + e.entry.address + " is missing"));
    else if (body.kind == BodyLocation::Kind::None && e.entry.dataSize > 0)
        warnings.push_back(FileWarning(WarningCode::BodyMissing, "_CACHE_MAP_",
                                       "the record of " + e.entry.address + " holds no place for its body"));
}

}  // namespace

DiskCacheEntry EntryFromMetadata(const DiskEntry& metadata, const std::string& metadataFile) {
    DiskCacheEntry e;
    e.entryVersion = metadata.minor;
    StoredEntry& s = e.entry;
    s.key = metadata.key;
    const KeyParts parts = SplitDiskCacheKey(metadata.key);
    s.address = parts.address;
    s.postId = parts.postId;
    s.anonymous = parts.anonymous;
    s.dataSize = metadata.dataSize;
    s.metadataFile = metadataFile;
    TakeMetadata(s, {metadata.fetchCount, metadata.lastFetched, metadata.lastModified, metadata.expires},
                 metadata.metadata);
    // Caches before map 1.8 kept no request method; HTTP's other requests were GETs.
    if (s.method.empty() && parts.clientId.rfind("HTTP", 0) == 0) s.method = "GET";
    return e;
}

bool ReadThroughMap(const DiskCacheFiles& files, DiskCache& cache, MetadataPlaces& places,
                    ProgressSink& progress) {
    const bool sound = cache.mapSound;
    std::size_t done = 0;
    for (const MapRecord& record : cache.map.records) {
        if (++done % kProgressEvery == 0 && !progress.ProcessMessages()) return false;
        std::string relative, problem;
        const std::string bytes =
            files.MetadataBytes(record.metadata, record.hashNumber, cache.map.minor, relative, problem);
        std::optional<DiskEntry> metadata;
        if (!bytes.empty()) metadata = ParseDiskEntry(bytes, &problem);
        if (!metadata || (!sound && !KeyHashes(metadata->key, record.hashNumber))) {
            if (sound)
                cache.warnings.push_back(
                    FileWarning(WarningCode::EntryDamaged, relative.empty() ? "_CACHE_MAP_" : relative,
                                "record " + std::to_string(record.index) + " could not be read: " + problem));
            continue;
        }
        DiskCacheEntry e = EntryFromMetadata(*metadata, relative);
        e.hashNumber = record.hashNumber;
        e.record = record;
        e.entry.body = files.DataBody(record.data, record.hashNumber, cache.map.minor, metadata->dataSize);
        NoteBody(e, cache.warnings);
        places.insert(PlaceOf(record.metadata, relative));
        cache.entries.push_back(std::move(e));
    }
    return true;
}

}  // namespace restash::mozilla
