#include "core/cache/mozilla/delete_entries.h"

#include <algorithm>
#include <array>

#include "core/cache/mapped_file.h"
#include "core/cache/mozilla/block_bitmap.h"
#include "core/cache/mozilla/disk_cache_files.h"
#include "core/cache/mozilla/map_edit.h"
#include "core/platform/error.h"

namespace restash::mozilla {
namespace {

constexpr std::size_t kPiece = 64 * 1024;

using RunsByFile = std::array<std::vector<BlockRun>, 3>;

void AddRun(RunsByFile& runs, CacheLocation l) {
    if (l.Initialized() && l.File() != 0) runs[l.File() - 1].push_back({l.FirstBlock(), l.BlockCount()});
}

RunsByFile RunsOf(const std::vector<MapRecord>& records) {
    RunsByFile runs;
    for (const MapRecord& r : records) {
        AddRun(runs, r.data);
        AddRun(runs, r.metadata);
    }
    return runs;
}

// The bitmap layout of each block file, from the runs all records use;
// nothing for a file whose bitmap agrees with neither layout.
std::array<std::optional<BitmapLayout>, 3> Layouts(const DiskCacheFiles& files, const CacheMap& map) {
    const RunsByFile runs = RunsOf(map.records);
    std::array<std::optional<BitmapLayout>, 3> layouts;
    for (int f = 1; f <= 3; ++f)
        layouts[f - 1] = LayoutOf(files.BlockFile(f).substr(0, BitmapBytes(f, map.minor)), runs[f - 1]);
    return layouts;
}

std::string Unsafe(const DiskCacheFiles& files, const CacheMap& map) {
    const auto layouts = Layouts(files, map);
    for (int f = 1; f <= 3; ++f)
        if (!layouts[f - 1])
            return "the block bitmap of " + DiskCacheFiles::BlockFileName(f) +
                   " does not agree with _CACHE_MAP_";
    return {};
}

// Writes block file f again with runs zeroed and their bits cleared.
void ReplaceBlockFile(FileSystem& fs, const DiskCacheFiles& files, int f, unsigned minor, BitmapLayout layout,
                      const std::vector<BlockRun>& runs) {
    const std::string_view bytes = files.BlockFile(f);
    const std::size_t bitmapBytes = std::min<std::size_t>(BitmapBytes(f, minor), bytes.size());
    std::string bitmap(bytes.substr(0, bitmapBytes));
    std::vector<std::pair<std::size_t, std::size_t>> zeroed;  // byte ranges [from, to)
    for (const BlockRun& run : runs) {
        for (std::uint32_t b = run.first; b < run.first + run.count; ++b) {
            const BitPlace place = PlaceOfBlock(b, layout);
            if (place.byte < bitmap.size())
                bitmap[place.byte] = static_cast<char>(bitmap[place.byte] & ~(1u << place.bit));
        }
        const std::size_t from = bitmapBytes + std::size_t{run.first} * BlockSize(f);
        zeroed.emplace_back(from, from + std::size_t{run.count} * BlockSize(f));
    }
    ReplaceFile(fs, *files.Find(DiskCacheFiles::BlockFileName(f)), [&](OutputFile& out) {
        out.Write(bitmap);
        for (std::size_t at = bitmapBytes; at < bytes.size(); at += kPiece) {
            std::string piece(bytes.substr(at, kPiece));
            for (const auto& [from, to] : zeroed) {
                const std::size_t a = std::max(from, at), b = std::min(to, at + piece.size());
                if (a < b)
                    std::fill(piece.begin() + static_cast<std::ptrdiff_t>(a - at),
                              piece.begin() + static_cast<std::ptrdiff_t>(b - at), '\0');
            }
            out.Write(piece);
        }
    });
}

void RemoveSeparate(FileSystem& fs, const DiskCacheFiles& files, const MapRecord& r, bool metadata,
                    unsigned minor, DiskCacheDeletion& result) {
    const CacheLocation l = metadata ? r.metadata : r.data;
    if (!l.Initialized() || l.File() != 0) return;
    std::string relative;
    const auto path = files.FindSeparate(r.hashNumber, metadata, l.Generation(), minor, relative);
    if (!path) return;
    try {
        fs.Remove(*path);
        ++result.filesRemoved;
    } catch (const FileError& e) {
        result.failures.push_back(e.what());
    }
}

}  // namespace

std::string WhyDeletionIsUnsafe(const DiskCache& cache) {
    if (!cache.mapPresent) return "the cache has no _CACHE_MAP_, so its records cannot be kept in step";
    if (!cache.mapSound) return "_CACHE_MAP_ is damaged, so entries it no longer names could be lost";
    return Unsafe(DiskCacheFiles(cache.folder), cache.map);
}

DiskCacheDeletion DeleteDiskCacheEntries(const DiskCache& cache, const std::vector<std::size_t>& indexes,
                                         FileSystem& fs) {
    if (const std::string why = WhyDeletionIsUnsafe(cache); !why.empty())
        throw Error("Cannot delete: " + why);
    const DiskCacheFiles files(cache.folder);
    const std::string mapPath = *files.Find("_CACHE_MAP_");
    std::string bytes(MappedFile(mapPath).bytes());
    const CacheMap map = ParseCacheMap(bytes);
    if (!map.damage.empty() || !Unsafe(files, map).empty())
        throw Error("Cannot delete: _CACHE_MAP_ changed since it was read");
    std::vector<MapRecord> doomed;
    for (const std::size_t i : indexes) {
        if (i >= cache.entries.size() || !cache.entries[i].record) continue;
        if (!RemoveMapRecord(bytes, map, *cache.entries[i].record))
            throw Error("Cannot delete: _CACHE_MAP_ changed since it was read");
        doomed.push_back(*cache.entries[i].record);
    }
    const auto layouts = Layouts(files, map);
    ReplaceFile(fs, mapPath, [&](OutputFile& out) { out.Write(bytes); });
    const RunsByFile runs = RunsOf(doomed);
    for (int f = 1; f <= 3; ++f)
        if (!runs[f - 1].empty()) ReplaceBlockFile(fs, files, f, map.minor, *layouts[f - 1], runs[f - 1]);
    DiskCacheDeletion result;
    result.entriesRemoved = doomed.size();
    for (const MapRecord& r : doomed) {
        RemoveSeparate(fs, files, r, false, map.minor, result);
        RemoveSeparate(fs, files, r, true, map.minor, result);
    }
    return result;
}

}  // namespace restash::mozilla
