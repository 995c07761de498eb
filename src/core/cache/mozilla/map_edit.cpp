#include "core/cache/mozilla/map_edit.h"

#include <algorithm>

#include "core/cache/byte_order.h"

namespace restash::mozilla {
namespace {

struct Bucket {
    std::size_t first = 0;    // its first record
    std::size_t used = 0;     // records in use, from the first
    std::size_t usageAt = 0;  // where the header keeps its usage (0: the early layout keeps none)
    std::size_t rankAt = 0;   // where the header keeps its eviction rank
};

Bucket BucketFor(const std::string& bytes, const CacheMap& map, std::uint32_t bucket) {
    Bucket b;
    if (map.EarlyLayout()) {
        b.first = bucket * kEarlyRecordsPerBucket;
        const std::size_t start = map.RecordsStart();
        while (b.used < kEarlyRecordsPerBucket &&
               ReadBig32(bytes, start + (b.first + b.used) * kRecordBytes) != 0)
            ++b.used;
        b.rankAt = 16 + 4 * bucket;
    } else {
        b.first = bucket * (map.recordCount / kBuckets);
        b.usageAt = 148 + 4 * bucket;
        b.used = ReadBig32(bytes, b.usageAt);
        b.rankAt = 20 + 4 * bucket;
    }
    return b;
}

std::uint32_t Runs(CacheLocation l, unsigned minor) {
    if (!l.Initialized()) return 0;
    if (l.File() == 0) return minor >= 19 ? l.FileSizeK() : l.FileSizeK() * 1024;
    const std::uint32_t bytes = l.BlockCount() * BlockSize(l.File());
    return minor >= 19 ? (bytes + 0x3FF) >> 10 : bytes;
}

}  // namespace

std::uint32_t StorageCounted(const MapRecord& record, unsigned mapMinor) {
    return Runs(record.data, mapMinor) + Runs(record.metadata, mapMinor);
}

bool RemoveMapRecord(std::string& bytes, const CacheMap& map, const MapRecord& record) {
    const bool big = map.bigEndianRecords;
    const std::size_t start = map.RecordsStart();
    Bucket b = BucketFor(bytes, map, BucketOf(record.hashNumber));
    auto at = [&](std::size_t i) { return start + (b.first + i) * kRecordBytes; };
    std::size_t found = b.used;
    for (std::size_t i = 0; i < b.used; ++i)
        if (Read32(bytes, at(i), big) == record.hashNumber &&
            Read32(bytes, at(i) + 8, big) == record.data.raw &&
            Read32(bytes, at(i) + 12, big) == record.metadata.raw)
            found = i;
    if (found == b.used) return false;
    const std::size_t last = b.used - 1;
    bytes.replace(at(found), kRecordBytes, bytes, at(last), kRecordBytes);
    bytes.replace(at(last), kRecordBytes, kRecordBytes, '\0');
    b.used = last;
    if (b.usageAt) PutBig32(bytes, b.usageAt, static_cast<std::uint32_t>(b.used));
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < b.used; ++i) rank = std::max(rank, Read32(bytes, at(i) + 4, big));
    PutBig32(bytes, b.rankAt, rank);
    PutBig32(bytes, 8, ReadBig32(bytes, 8) - 1);
    const std::uint32_t size = ReadBig32(bytes, 4), counted = StorageCounted(record, map.minor);
    PutBig32(bytes, 4, size > counted ? size - counted : 0);
    return true;
}

}  // namespace restash::mozilla
