#pragma once
// The header page of a Berkeley DB 1.x hash file: page size, the byte order
// of the page words, and what is needed to find the bucket and overflow pages.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace restash {

struct HashHeader {
    std::uint32_t pageSize = 0;
    bool bigEndianPages = false;  // the order of the 16-bit words of every page
    std::uint32_t headerPages = 1;
    std::uint32_t maxBucket = 0;
    std::uint32_t overflowPoint = 0;
    std::uint32_t keyCount = 0;  // the pairs the file held when it was last closed
    std::array<std::uint32_t, 32> spares{};  // overflow pages allocated before each split point
    std::array<std::uint16_t, 32> bitmaps{};  // overflow addresses of the free-page bitmaps (0: none)

    // File page numbers (may lie past the end of the file).
    std::uint64_t BucketPage(std::uint32_t bucket) const;
    std::uint64_t OverflowPage(std::uint16_t address) const;
};

// The header at the start of the file, or nothing when it is missing or does
// not describe a file that can be read this way (wrong magic number, a page
// size that is not a power of two between 256 and 65,536, split points that
// run backwards, and the like).
std::optional<HashHeader> ParseHashHeader(std::string_view file);

}  // namespace restash
