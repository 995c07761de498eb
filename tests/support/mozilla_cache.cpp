#include "tests/support/mozilla_cache.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "core/cache/byte_order.h"
#include "core/cache/mozilla/block_bitmap.h"
#include "core/cache/mozilla/cache_location.h"
#include "core/cache/mozilla/hash_numbers.h"
#include "core/cache/mozilla/separate_files.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

using mozilla::BitmapBytes;
using mozilla::BlockSize;
using mozilla::CacheLocation;

constexpr std::uint32_t kRecordsStart = 512;

// The block files as they fill: runs laid one after another, none crossing a
// four-block boundary (the browser's allocators never let them).
struct BlockFiles {
    std::array<std::string, 3> blocks;  // the bytes after the bitmap
    std::array<std::uint32_t, 3> next{};
    std::array<std::vector<mozilla::BlockRun>, 3> runs;

    CacheLocation Reserve(int file, std::size_t bytes) {
        const std::uint32_t size = BlockSize(file);
        const auto count = static_cast<std::uint32_t>((bytes + size - 1) / size);
        std::uint32_t& at = next[file - 1];
        if (at % 4 + count > 4) at = (at / 4 + 1) * 4;
        runs[file - 1].push_back({at, count});
        const CacheLocation l = CacheLocation::Blocks(file, at, count);
        at += count;
        return l;
    }

    // The last run of a file is written only as far as its bytes go, as the browser did.
    void Fill(CacheLocation l, const std::string& bytes) {
        std::string& b = blocks[l.File() - 1];
        const std::size_t at = std::size_t{l.FirstBlock()} * BlockSize(l.File());
        if (b.size() < at + bytes.size()) b.resize(at + bytes.size(), '\0');
        b.replace(at, bytes.size(), bytes);
    }
};

int BlockFileFor(std::size_t bytes) {
    if (bytes <= 4 * 256) return 1;
    if (bytes <= 4 * 1024) return 2;
    if (bytes <= 4 * 4096) return 3;
    return 0;
}

std::string Element(std::string_view key, std::string_view value) {
    return std::string(key) + '\0' + std::string(value) + '\0';
}

struct Writer {
    std::string folder;
    MozillaCacheOptions options;
    BlockFiles files;

    bool Nested() const { return options.minor >= 19; }

    void WriteSeparate(std::uint32_t hash, bool meta, const std::string& bytes) {
        WriteBytes(folder + mozilla::SeparateFileName(hash, meta, 1, Nested()), bytes);
    }

    CacheLocation PlaceData(const WebObject& o, std::uint32_t hash) {
        if (o.body.empty()) return {};
        if (const int file = BlockFileFor(o.body.size())) {
            const CacheLocation l = files.Reserve(file, o.body.size());
            if (!o.bodyMissing) files.Fill(l, o.body);
            return l;
        }
        if (!o.bodyMissing) WriteSeparate(hash, false, o.body);
        return CacheLocation::Separate(
            1, options.minor >= 6 ? static_cast<std::uint32_t>((o.body.size() + 1023) / 1024) : 0);
    }

    CacheLocation PlaceMetadata(const WebObject& o, std::uint32_t hash) {
        // The entry records its own location, so its size is known before the location is.
        const std::size_t size = DiskEntryBytes(o, options.minor, 0).size();
        const int file = options.separateMetadata ? 0 : BlockFileFor(size);
        if (file) {
            const CacheLocation l = files.Reserve(file, size);
            files.Fill(l, DiskEntryBytes(o, options.minor, l.raw));
            return l;
        }
        const CacheLocation l = CacheLocation::Separate(
            1, options.minor >= 6 ? static_cast<std::uint32_t>((size + 1023) / 1024) : 0);
        WriteSeparate(hash, true, DiskEntryBytes(o, options.minor, l.raw));
        return l;
    }

    void WriteBlockFiles() const {
        const auto layout =
            options.minor <= 5 ? mozilla::BitmapLayout::Bytes : mozilla::BitmapLayout::BigEndianWords;
        for (int f = 1; f <= 3; ++f) {
            std::string bitmap(BitmapBytes(f, options.minor), '\0');
            for (const mozilla::BlockRun& run : files.runs[f - 1])
                for (std::uint32_t b = run.first; b < run.first + run.count; ++b) {
                    const mozilla::BitPlace p = mozilla::PlaceOfBlock(b, layout);
                    bitmap[p.byte] = static_cast<char>(bitmap[p.byte] | (1 << p.bit));
                }
            WriteBytes(folder + "_CACHE_00" + std::to_string(f) + "_", bitmap + files.blocks[f - 1]);
        }
    }
};

std::string MapBytes(const MozillaCacheOptions& o, const std::vector<MozillaPlacement>& placed,
                     const std::vector<std::uint32_t>& ranks) {
    const bool early = o.minor <= 5;
    std::map<std::uint32_t, std::vector<std::size_t>> buckets;
    for (std::size_t i = 0; i < placed.size(); ++i) buckets[placed[i].hashNumber & 31].push_back(i);
    std::uint32_t perBucket = early ? 256 : kRecordsStart / 32;
    for (const auto& [b, members] : buckets)
        while (members.size() > perBucket && !early) perBucket *= 2;
    std::string header;
    for (const std::uint32_t w :
         {0x00010000u | o.minor, 0u, static_cast<std::uint32_t>(placed.size()), o.dirty ? 1u : 0u})
        AppendBig32(header, w);
    if (!early) AppendBig32(header, perBucket * 32);
    std::string records(std::size_t{perBucket} * 32 * 16, '\0');
    std::array<std::uint32_t, 32> rank{}, usage{};
    for (const auto& [b, members] : buckets)
        for (const std::size_t i : members) {
            const std::size_t at = (std::size_t{b} * perBucket + usage[b]++) * 16;
            const bool big = early ? o.bigEndianRecords : true;
            Put32(records, at, placed[i].hashNumber, big);
            Put32(records, at + 4, ranks[i], big);
            Put32(records, at + 8, placed[i].dataLocation, big);
            Put32(records, at + 12, placed[i].metaLocation, big);
            rank[b] = std::max(rank[b], ranks[i]);
        }
    for (const std::uint32_t r : rank) AppendBig32(header, r);
    if (!early)
        for (const std::uint32_t u : usage) AppendBig32(header, u);
    if (early) header.resize(4096, '\0');
    return header + records;
}

}  // namespace

std::string DiskCacheKey(const WebObject& object) {
    std::string key = "HTTP:";
    if (object.anonymous) key += "anon&";
    char id[16];
    std::snprintf(id, sizeof id, "%x", object.postId);
    if (object.postId) key += "id=" + std::string(id) + "&";
    if (object.anonymous || object.postId) key += "uri=";
    return key + object.address;
}

std::string DiskEntryBytes(const WebObject& object, unsigned minor, std::uint32_t metaLocation) {
    const std::string key = DiskCacheKey(object);
    std::string elements;
    if (minor >= 8) elements += Element("request-method", object.method);
    elements += Element("response-head", object.responseHead);
    if (!object.charsetElement.empty()) elements += Element("charset", object.charsetElement);
    std::string bytes;
    for (const std::uint32_t w :
         {0x00010000u | minor, metaLocation, object.fetchCount, object.lastFetched, object.lastModified,
          object.expires, static_cast<std::uint32_t>(object.body.size()),
          static_cast<std::uint32_t>(key.size() + 1), static_cast<std::uint32_t>(elements.size())})
        AppendBig32(bytes, w);
    return bytes + key + '\0' + elements;
}

std::vector<MozillaPlacement> WriteMozillaCache(const std::string& folder,
                                                const std::vector<WebObject>& objects,
                                                const MozillaCacheOptions& options) {
    Writer w{folder.back() == '/' ? folder : folder + "/", options, {}};
    std::vector<MozillaPlacement> placed;
    std::vector<std::uint32_t> ranks;
    for (const WebObject& o : objects) {
        MozillaPlacement p;
        p.key = DiskCacheKey(o);
        p.hashNumber = options.minor <= 5 ? mozilla::EarlyKeyHash(p.key) : mozilla::Lookup2Hash(p.key);
        p.dataLocation = w.PlaceData(o, p.hashNumber).raw;
        p.metaLocation = w.PlaceMetadata(o, p.hashNumber).raw;
        placed.push_back(p);
        ranks.push_back(0xFFFFFFFFu - o.lastFetched);
    }
    w.WriteBlockFiles();
    if (options.writeMap) WriteBytes(w.folder + "_CACHE_MAP_", MapBytes(options, placed, ranks));
    return placed;
}

}  // namespace restash::test
