#include "core/cache/cache2/cache2_metadata.h"

#include <charconv>

#include "core/cache/byte_order.h"
#include "core/cache/mozilla/hash_numbers.h"

namespace restash::cache2 {

std::uint32_t MetadataChecksum(std::string_view hashedBytes) { return mozilla::Lookup2Hash(hashedBytes); }

std::optional<Cache2Metadata> ParseCache2Metadata(std::string_view tail, std::uint32_t metadataStart,
                                                  std::string* problem) {
    auto fail = [&](const char* what) {
        if (problem) *problem = what;
        return std::nullopt;
    };
    const std::uint64_t hashCount = (std::uint64_t{metadataStart} + kChunkSize - 1) / kChunkSize;
    const std::uint64_t headerAt = 4 + 2 * hashCount;
    if (tail.size() < 4 || headerAt + 28 > tail.size() - 4) return fail("the metadata is cut short");
    const std::string_view meta = tail.substr(0, tail.size() - 4);
    Cache2Metadata m;
    m.bodyEnd = metadataStart;
    const std::size_t h = static_cast<std::size_t>(headerAt);
    m.version = ReadBig32(meta, h);
    if (m.version < 1 || m.version > 3) return fail("the metadata version is not 1, 2 or 3");
    m.fetchCount = ReadBig32(meta, h + 4);
    m.lastFetched = ReadBig32(meta, h + 8);
    m.lastModified = ReadBig32(meta, h + 12);
    m.frecency = ReadBig32(meta, h + 16);
    m.expires = ReadBig32(meta, h + 20);
    const std::uint64_t keySize = ReadBig32(meta, h + 24);
    std::size_t keyAt = h + 28;
    if (m.version >= 2) {
        if (keyAt + 4 > meta.size()) return fail("the metadata is cut short");
        m.flags = ReadBig32(meta, h + 28);
        keyAt += 4;
    }
    if (keyAt + keySize + 1 > meta.size()) return fail("the key runs past the metadata");
    if (meta[keyAt + keySize] != '\0') return fail("the key does not end in NUL");
    m.key = std::string(meta.substr(keyAt, keySize));
    m.elements = std::string(meta.substr(keyAt + keySize + 1));
    m.checksumMatches = MetadataChecksum(meta.substr(4)) == ReadBig32(meta, 0);
    return m;
}

std::uint32_t BodyLength(const Cache2Metadata& metadata, std::string_view altDataElement) {
    // "<version>;<offset>,<type>"; only version 1 is known.
    if (altDataElement.substr(0, 2) != "1;") return metadata.bodyEnd;
    altDataElement.remove_prefix(2);
    std::uint64_t offset = 0;
    const auto [end, ec] =
        std::from_chars(altDataElement.data(), altDataElement.data() + altDataElement.size(), offset);
    if (ec != std::errc() || end == altDataElement.data() || offset > metadata.bodyEnd)
        return metadata.bodyEnd;
    return static_cast<std::uint32_t>(offset);
}

}  // namespace restash::cache2
