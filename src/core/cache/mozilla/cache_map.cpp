#include "core/cache/mozilla/cache_map.h"

#include <algorithm>

#include "core/cache/byte_order.h"

namespace restash::mozilla {
namespace {

MapRecord RecordAt(std::string_view bytes, std::size_t at, bool bigEndian, std::size_t index) {
    MapRecord r;
    r.hashNumber = Read32(bytes, at, bigEndian);
    r.evictionRank = Read32(bytes, at + 4, bigEndian);
    r.data.raw = Read32(bytes, at + 8, bigEndian);
    r.metadata.raw = Read32(bytes, at + 12, bigEndian);
    r.index = index;
    return r;
}

int PlausibleRecords(std::string_view records, bool bigEndian) {
    int plausible = 0;
    for (std::size_t at = 0; at + kRecordBytes <= records.size(); at += kRecordBytes) {
        const MapRecord r = RecordAt(records, at, bigEndian, 0);
        if (r.hashNumber == 0) continue;
        if (r.data.Plausible() && r.metadata.Plausible() &&
            (r.data.Initialized() || r.metadata.Initialized()))
            ++plausible;
    }
    return plausible;
}

std::vector<std::uint32_t> Words(std::string_view bytes, std::size_t at, std::size_t count) {
    std::vector<std::uint32_t> words;
    for (std::size_t i = 0; i < count && at + 4 * i + 4 <= bytes.size(); ++i)
        words.push_back(ReadBig32(bytes, at + 4 * i));
    return words;
}

// The header fields; returns false when the bytes are too short for them.
bool ReadHeader(std::string_view bytes, CacheMap& map) {
    if (bytes.size() < 16) {
        map.damage.push_back("shorter than its header");
        return false;
    }
    const std::uint32_t version = ReadBig32(bytes, 0);
    map.major = version >> 16;
    map.minor = version & 0xFFFF;
    map.dataSize = ReadBig32(bytes, 4);
    map.entryCount = static_cast<std::int32_t>(ReadBig32(bytes, 8));
    map.dirty = ReadBig32(bytes, 12) != 0;
    if (map.major != 1 || map.minor < 3 || map.minor > 19)
        map.damage.push_back("version " + std::to_string(map.major) + "." + std::to_string(map.minor) +
                             " is not one Restash knows");
    if (map.EarlyLayout()) {
        map.recordCount = kBuckets * kEarlyRecordsPerBucket;
        map.evictionRanks = Words(bytes, 16, kBuckets);
        if (bytes.size() < kEarlyHeaderBytes) map.damage.push_back("shorter than its header");
    } else {
        map.recordCount = bytes.size() >= 20 ? ReadBig32(bytes, 16) : 0;
        map.evictionRanks = Words(bytes, 20, kBuckets);
        map.bucketUsage = Words(bytes, 148, kBuckets);
        if (bytes.size() < kHeaderBytes) map.damage.push_back("shorter than its header");
        if (map.recordCount % kBuckets != 0) map.damage.push_back("its record count is not a multiple of 32");
    }
    if (map.dirty) map.damage.push_back("the dirty flag is set");
    return bytes.size() >= map.RecordsStart();
}

// The counts agree with the records, and the records lie where the browser
// put them: in the bucket their hash number names, one after another from
// the bucket's start.
void CheckCounts(CacheMap& map) {
    if (static_cast<std::int64_t>(map.records.size()) != map.entryCount)
        map.damage.push_back("it counts " + std::to_string(map.entryCount) + " entries but holds " +
                             std::to_string(map.records.size()));
    const std::size_t perBucket = map.EarlyLayout() ? kEarlyRecordsPerBucket : map.recordCount / kBuckets;
    if (perBucket == 0) return;
    std::vector<std::uint32_t> held(kBuckets, 0);
    for (const MapRecord& r : map.records) ++held[r.index / perBucket % kBuckets];
    bool misplaced = false;
    for (const MapRecord& r : map.records) {
        const std::size_t bucket = r.index / perBucket;
        misplaced |= bucket != BucketOf(r.hashNumber) || r.index % perBucket >= held[bucket % kBuckets];
    }
    if (misplaced) map.damage.push_back("its records are not where their hash numbers put them");
    if (!map.EarlyLayout() && map.bucketUsage.size() == kBuckets && held != map.bucketUsage)
        map.damage.push_back("its bucket counts disagree with its records");
}

}  // namespace

bool RecordsLookBigEndian(std::string_view records) {
    return PlausibleRecords(records, true) >= PlausibleRecords(records, false);
}

CacheMap ParseCacheMap(std::string_view bytes) {
    CacheMap map;
    if (!ReadHeader(bytes, map)) return map;
    const std::size_t start = map.RecordsStart();
    const std::size_t wanted = static_cast<std::size_t>(map.recordCount) * kRecordBytes;
    std::string_view records = bytes.substr(start);
    if (records.size() < wanted)
        map.damage.push_back("shorter than its " + std::to_string(map.recordCount) + " records");
    records = records.substr(0, std::min(wanted, records.size() - records.size() % kRecordBytes));
    map.bigEndianRecords = map.EarlyLayout() ? RecordsLookBigEndian(records) : true;
    for (std::size_t i = 0; i * kRecordBytes < records.size(); ++i) {
        MapRecord r = RecordAt(records, i * kRecordBytes, map.bigEndianRecords, i);
        if (r.hashNumber != 0) map.records.push_back(r);
    }
    CheckCounts(map);
    return map;
}

}  // namespace restash::mozilla
