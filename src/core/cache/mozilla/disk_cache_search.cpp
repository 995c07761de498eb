#include <unordered_map>

#include "core/cache/mozilla/disk_cache_read.h"
#include "core/cache/mozilla/hash_numbers.h"
#include "core/cache/stored_body.h"
#include "core/platform/error.h"

namespace restash::mozilla {
namespace {

constexpr std::uint32_t kLargestBlockRun = 4 * 4096;  // a body larger than this had a file of its own
constexpr std::size_t kMetadataFileLimit = 16u << 20;
constexpr std::size_t kProgressEvery = 4096;

using DataFiles = std::unordered_multimap<std::uint32_t, const SeparateFile*>;  // by hash number

// The separate data file that holds the body of an entry whose key hashes to
// one of hashes: the same generation as its metadata file when there is one,
// else the highest.
const SeparateFile* DataFileFor(const DataFiles& dataFiles, std::initializer_list<std::uint32_t> hashes,
                                std::optional<std::uint8_t> generation) {
    const SeparateFile* best = nullptr;
    for (const std::uint32_t hash : hashes) {
        const auto [from, to] = dataFiles.equal_range(hash);
        for (auto it = from; it != to; ++it) {
            const SeparateFile& f = *it->second;
            if (generation && f.generation == *generation) return &f;
            if (!best || f.generation > best->generation) best = &f;
        }
    }
    return best;
}

// What one search keeps track of.
struct Search {
    const DiskCacheFiles& files;
    DiskCache& cache;
    MetadataPlaces& places;
    std::unordered_map<std::string, std::size_t> byKey;  // entries already listed, by key
    DataFiles dataFiles;
    std::size_t unplaced = 0;  // bodies that could not be placed

    // Finds the body of an entry read without its record.
    void PlaceBody(DiskCacheEntry& e, std::optional<std::uint8_t> generation) {
        StoredEntry& s = e.entry;
        const std::uint32_t lookup2 = Lookup2Hash(s.key), early = EarlyKeyHash(s.key);
        if (!e.hashNumber) e.hashNumber = e.entryVersion >= 6 ? lookup2 : early;
        if (const SeparateFile* data = DataFileFor(dataFiles, {e.hashNumber, lookup2, early}, generation)) {
            s.body.kind = BodyLocation::Kind::SeparateFile;
            s.body.relativePath = data->relativePath;
            s.body.path = files.Find(data->relativePath).value_or("");
            s.body.length = s.dataSize;
            e.hashNumber = data->hashNumber;
            return;
        }
        if (s.dataSize == 0) return;
        // Its place was in the record only: the body cannot be had.
        s.body.kind =
            s.dataSize > kLargestBlockRun ? BodyLocation::Kind::SeparateFile : BodyLocation::Kind::BlockRun;
        s.body.length = s.dataSize;
        ++unplaced;
    }

    // Adds an entry found by searching, unless one of the same key is there
    // already: the one read through the map stays, and of two found by
    // searching the one fetched last (the other is an older copy in freed blocks).
    void Add(DiskCacheEntry e) {
        const auto [at, added] = byKey.try_emplace(e.entry.key, cache.entries.size());
        if (added) {
            cache.entries.push_back(std::move(e));
            return;
        }
        DiskCacheEntry& other = cache.entries[at->second];
        if (!other.record && e.entry.lastFetched > other.entry.lastFetched) other = std::move(e);
    }
};

bool SearchBlockFile(Search& search, int file, ProgressSink& progress) {
    const std::string_view bytes = search.files.BlockFile(file);
    const std::uint32_t size = BlockSize(file);
    // Every place a block can start for either bitmap size.
    const std::size_t step = file == 1 ? 256 : 1024;
    std::size_t tries = 0;
    for (std::size_t at = 1024; at + kDiskEntryHeaderBytes <= bytes.size(); at += step) {
        if (++tries % kProgressEvery == 0 && !progress.ProcessMessages()) return false;
        if (bytes[at] != 0 || bytes[at + 1] != 1) continue;  // version 1.x, big-endian
        const std::optional<DiskEntry> metadata = FindDiskEntryAt(bytes.substr(at), size);
        if (!metadata) continue;
        const std::size_t bitmap = BitmapBytes(file, metadata->minor);
        if (at < bitmap || (at - bitmap) % size != 0) continue;
        const std::string name = DiskCacheFiles::BlockFileName(file);
        const std::string place = name + "@" + std::to_string((at - bitmap) / size);
        const std::size_t blocks = (metadata->bytes + size - 1) / size;
        if (search.places.insert(place).second) {
            DiskCacheEntry e = EntryFromMetadata(*metadata, name);
            search.PlaceBody(e, std::nullopt);
            search.Add(std::move(e));
        }
        at += blocks * size - step;
    }
    return true;
}

void SearchMetadataFiles(Search& search) {
    for (const SeparateFile& f : search.files.SeparateFiles()) {
        if (!f.metadata || search.places.count(f.relativePath)) continue;
        const auto path = search.files.Find(f.relativePath);
        if (!path) continue;
        std::string bytes, problem;
        try {
            bytes = ReadStoredBodyBytes(
                {BodyLocation::Kind::SeparateFile, *path, f.relativePath, 0, kMetadataFileLimit},
                kMetadataFileLimit);
        } catch (const FileError& e) {
            problem = e.problem();
        }
        const std::optional<DiskEntry> metadata =
            bytes.empty() ? std::nullopt : ParseDiskEntry(bytes, &problem);
        if (!metadata) {
            search.cache.warnings.push_back(FileWarning(WarningCode::EntryDamaged, f.relativePath, problem));
            continue;
        }
        search.places.insert(f.relativePath);
        DiskCacheEntry e = EntryFromMetadata(*metadata, f.relativePath);
        e.hashNumber = f.hashNumber;
        search.PlaceBody(e, f.generation);
        search.Add(std::move(e));
    }
}

}  // namespace

bool SearchEntries(const DiskCacheFiles& files, DiskCache& cache, MetadataPlaces& places,
                   ProgressSink& progress) {
    Search search{files, cache, places, {}, {}, 0};
    for (std::size_t i = 0; i < cache.entries.size(); ++i)
        search.byKey.emplace(cache.entries[i].entry.key, i);
    for (const SeparateFile& f : files.SeparateFiles())
        if (!f.metadata) search.dataFiles.emplace(f.hashNumber, &f);
    for (int file = 1; file <= 3; ++file)
        if (!SearchBlockFile(search, file, progress)) return false;
    SearchMetadataFiles(search);
    const std::size_t unplaced = search.unplaced;
    if (unplaced > 0)
        cache.warnings.push_back(FileWarning(WarningCode::BodyMissing, "_CACHE_MAP_",
                                             std::to_string(unplaced) +
                                                 " bodies lie in block runs that only the map could name; those "
                                                 "entries are listed without them"));
    return true;
}

}  // namespace restash::mozilla
