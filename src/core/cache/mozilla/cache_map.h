#pragma once
// _CACHE_MAP_, the index of Mozilla's disk cache: a header and the records
// that say where each entry's metadata and data lie. Two layouts:
// map 1.3 to 1.5: a 4096-byte header (version, data size, entry count, dirty
// flag, 32 eviction ranks) and 32 buckets of 256 records, the records in the
// byte order of the machine that wrote them (their byte swap did nothing);
// map 1.6 to 1.19: a 276-byte header (adding the record count and 32 bucket
// usage counts) and that many records, 32 buckets of equal size, big-endian.
// Header words are big-endian in both.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cache/mozilla/cache_location.h"

namespace restash::mozilla {

inline constexpr std::uint32_t kBuckets = 32;
inline constexpr std::size_t kEarlyHeaderBytes = 4096;
inline constexpr std::size_t kEarlyRecordsPerBucket = 256;
inline constexpr std::size_t kHeaderBytes = 276;
inline constexpr std::size_t kRecordBytes = 16;

struct MapRecord {
    std::uint32_t hashNumber = 0;
    std::uint32_t evictionRank = 0;
    CacheLocation data;
    CacheLocation metadata;
    std::size_t index = 0;  // its place among the map's records
};

struct CacheMap {
    unsigned major = 0, minor = 0;  // 1.3 ... 1.19
    std::uint32_t dataSize = 0;     // bytes before 1.19, KB from it
    std::int32_t entryCount = 0;
    bool dirty = false;
    std::uint32_t recordCount = 0;  // record places the file holds (8192 for the early layout)
    std::vector<std::uint32_t> evictionRanks, bucketUsage;  // bucketUsage: from 1.6
    bool bigEndianRecords = true;
    std::vector<MapRecord> records;   // the records in use (hash number not 0), in file order
    std::vector<std::string> damage;  // what is wrong with the file, in a few words each

    bool EarlyLayout() const { return minor <= 5; }
    std::size_t RecordsStart() const { return EarlyLayout() ? kEarlyHeaderBytes : kHeaderBytes; }
};

// Reads a map. Damage (a dirty flag, a short file, counts that disagree, a
// version it does not know) is listed, not thrown: whatever records the
// bytes hold are read.
CacheMap ParseCacheMap(std::string_view bytes);

// Which byte order makes more of the records plausible (hash number set,
// both locations plausible, at least one in use); big-endian when equal.
bool RecordsLookBigEndian(std::string_view records);

// The bucket a hash number is filed in.
inline std::uint32_t BucketOf(std::uint32_t hashNumber) { return hashNumber & (kBuckets - 1); }

}  // namespace restash::mozilla
