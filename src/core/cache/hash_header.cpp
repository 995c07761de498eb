#include "core/cache/hash_header.h"

#include "core/cache/hash_bytes.h"

namespace restash {
namespace {

constexpr std::uint32_t kMagic = 0x061561;
constexpr std::size_t kHeaderBytes = 260;  // 17 words, 32 spare counts, 32 bitmap addresses
constexpr std::size_t kSparesAt = 68;
constexpr std::size_t kBitmapsAt = 196;

// The smallest i with 2^i >= n, as the hash package computes it.
unsigned CeilLog2(std::uint64_t n) {
    unsigned i = 0;
    while ((std::uint64_t{1} << i) < n) ++i;
    return i;
}

}  // namespace

std::uint64_t HashHeader::BucketPage(std::uint32_t bucket) const {
    std::uint64_t page = std::uint64_t{bucket} + headerPages;
    if (bucket != 0) page += spares[CeilLog2(std::uint64_t{bucket} + 1) - 1];
    return page;
}

std::uint64_t HashHeader::OverflowPage(std::uint16_t address) const {
    const unsigned splitPoint = address >> 11;
    const std::uint32_t pageInSplit = address & 0x7FF;
    return BucketPage(static_cast<std::uint32_t>((std::uint64_t{1} << splitPoint) - 1)) + pageInSplit;
}

std::optional<HashHeader> ParseHashHeader(std::string_view file) {
    if (file.size() < kHeaderBytes) return std::nullopt;
    // The hash package writes its header in network order whatever the
    // machine; accept the other order too, in case a port did not.
    bool big = true;
    if (ReadU32(file, 0, true) != kMagic) {
        if (ReadU32(file, 0, false) != kMagic) return std::nullopt;
        big = false;
    }
    auto word = [&](std::size_t index) { return ReadU32(file, index * 4, big); };

    const std::uint32_t version = word(1);
    const std::uint32_t byteOrder = word(2);
    const std::uint32_t pageSize = word(3);
    const std::uint32_t pageShift = word(4);
    HashHeader h;
    if (version != 1 && version != 2) return std::nullopt;
    if (byteOrder == 4321)
        h.bigEndianPages = true;
    else if (byteOrder != 1234)
        return std::nullopt;
    if (pageShift < 8 || pageShift > 15 || pageSize != (std::uint32_t{1} << pageShift)) return std::nullopt;
    h.pageSize = pageSize;
    h.overflowPoint = word(8);
    h.maxBucket = word(10);
    h.keyCount = word(14);
    h.headerPages = word(15);
    if (h.overflowPoint >= 32 || h.headerPages == 0 || h.headerPages > 64) return std::nullopt;
    if (std::uint64_t{h.headerPages} * pageSize < kHeaderBytes) return std::nullopt;
    for (std::size_t i = 0; i < 32; ++i) {
        h.spares[i] = ReadU32(file, kSparesAt + 4 * i, big);
        h.bitmaps[i] = ReadU16(file, kBitmapsAt + 2 * i, big);
    }
    // The buckets in use all lie below the current split point, whose spare
    // counts only ever grow.
    if (CeilLog2(std::uint64_t{h.maxBucket} + 1) > h.overflowPoint) return std::nullopt;
    for (std::uint32_t i = 1; i <= h.overflowPoint; ++i)
        if (h.spares[i] < h.spares[i - 1]) return std::nullopt;
    return h;
}

}  // namespace restash
