#pragma once
// The metadata at the end of a cache2 entry file. The file holds the body,
// then at the offset its last four bytes give (big-endian): a checksum of
// what follows, one 16-bit hash per 256 KB chunk of the body, the header
// (version, fetch count, last fetched, last modified, frecency, expiration,
// key size, and from version 2 the flags), the key and its NUL, and the
// key\0value\0 elements.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace restash::cache2 {

inline constexpr std::uint32_t kChunkSize = 256 * 1024;

struct Cache2Metadata {
    std::uint32_t version = 0;  // 1, 2 or 3
    std::uint32_t fetchCount = 0;
    std::uint32_t lastFetched = 0, lastModified = 0;
    std::uint32_t frecency = 0;
    std::uint32_t expires = 0;
    std::uint32_t flags = 0;    // version 2 and 3; bit 0: pinned
    std::uint32_t bodyEnd = 0;  // where the metadata starts: the body (and any alternative data) before it
    std::string key;
    std::string elements;
    bool checksumMatches = false;  // the stored checksum agrees with the bytes
};

// The bytes from the metadata's start to the end of the file (the last four
// included). metadataStart is what those four bytes say. Nothing, with
// problem set, when the sizes do not fit or the version is not 1 to 3.
std::optional<Cache2Metadata> ParseCache2Metadata(std::string_view tail, std::uint32_t metadataStart,
                                                  std::string* problem = nullptr);

// The checksum cache2 stores: Lookup2Hash over the chunk hashes, header, key
// and elements.
std::uint32_t MetadataChecksum(std::string_view hashedBytes);

// Where the body ends: the offset an "alt-data" element ("1;12345,type")
// gives when the entry also holds alternative data, else bodyEnd.
std::uint32_t BodyLength(const Cache2Metadata& metadata, std::string_view altDataElement);

}  // namespace restash::cache2
