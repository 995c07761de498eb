#pragma once
// The metadata entry of Mozilla's disk cache (nsDiskCacheEntry), kept in a
// block run or a separate metadata file: nine big-endian words (header
// version, its own location, fetch count, last fetched, last modified,
// expiration, data size, key size, metadata size), the key with its NUL,
// then the metadata as key\0value\0 elements.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace restash::mozilla {

inline constexpr std::size_t kDiskEntryHeaderBytes = 36;

struct DiskEntry {
    unsigned major = 0, minor = 0;  // the map version that wrote it
    std::uint32_t metaLocation = 0;
    std::uint32_t fetchCount = 0;
    std::uint32_t lastFetched = 0, lastModified = 0, expires = 0;
    std::uint32_t dataSize = 0;
    std::string key;        // without its NUL
    std::string metadata;   // the elements, as stored
    std::size_t bytes = 0;  // header + key + metadata
};

// Reads an entry from the start of bytes (which may run past it). Nothing,
// with problem set, when the header is cut short or its sizes run past the
// bytes.
std::optional<DiskEntry> ParseDiskEntry(std::string_view bytes, std::string* problem = nullptr);

// Stricter, for finding entries in block files without the map: a known
// version (1.3 to 1.19), a key of printable characters that names a client
// ("HTTP:...") and ends in its NUL, metadata that ends in a NUL, and an entry
// that fits in four blocks of blockSize.
std::optional<DiskEntry> FindDiskEntryAt(std::string_view bytes, std::uint32_t blockSize);

}  // namespace restash::mozilla
