#pragma once
// The records of Netscape 6.0's disk cache (cache.db, a DB 1.85 hash file):
// for every cached address a pair key -> record id (a 4-byte integer), and a
// pair record id -> record. A record holds, each length a little-endian
// 32-bit word: its own size, the record id, the key's length and the key
// (the address, a NUL, and a secondary key, empty for HTTP), the metadata's
// length and the metadata, the file URL's length and the file URL of the
// body ("file:///C|/.../Cache/0a/ff00000a"). The metadata is the cache
// manager's, written big-endian: a version byte (1), tagged annotations
// ("HTTP headers" and its bytes) ended by an empty tag, 16-bit flags, the
// access count, the last three access times, the last update time, the last
// modified time, the expiration time and a download rate.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace restash::netscape6 {

struct CacheRecord {
    std::int32_t recordId = 0;
    std::string key;  // as stored, NULs included
    std::string metadata;
    std::string fileUrl;  // without its NUL
};

// A record pair's data; nothing when its size word does not match its length
// or its lengths run past it.
std::optional<CacheRecord> ParseCacheRecord(std::string_view data);

struct CacheMetadata {
    std::vector<std::pair<std::string, std::string>> annotations;  // tag, bytes
    std::uint16_t flags = 0;
    std::uint32_t accesses = 0;
    std::array<std::uint32_t, 3> accessTimes{};  // the latest first
    std::uint32_t lastUpdate = 0, lastModified = 0, expires = 0;
};

// Reads the metadata in either form the cache manager's string writer had
// (length-prefixed or NUL-ended tags) and either width of the access count.
std::optional<CacheMetadata> ParseCacheMetadata(std::string_view metadata);

// The body's file within the cache folder for a record id: "0a/ff00000a"
// (the id modulo 32 in two hex digits, then the id in eight).
std::string BodyFileName(std::int32_t recordId);

}  // namespace restash::netscape6
