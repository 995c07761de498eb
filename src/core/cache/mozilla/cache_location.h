#pragma once
// A location word of a disk cache record: where an entry's data or metadata
// lies. Bit 31: set once the location is in use; bits 28-29: the file (0 a
// separate file, 1 to 3 the block files); for a block file, bits 24-25 the
// blocks after the first (up to 3) and bits 0-23 the first block; for a
// separate file, bits 8-23 its size in KB (from map 1.6) and bits 0-7 the
// file's generation. Bits 26, 27 and 30 are never set.
#include <cstdint>

namespace restash::mozilla {

struct CacheLocation {
    std::uint32_t raw = 0;

    bool Initialized() const { return (raw & 0x80000000u) != 0; }
    int File() const { return static_cast<int>((raw >> 28) & 3u); }  // 0: separate file
    std::uint32_t BlockCount() const { return ((raw >> 24) & 3u) + 1; }
    std::uint32_t FirstBlock() const { return raw & 0x00FFFFFFu; }
    std::uint32_t FileSizeK() const { return (raw >> 8) & 0xFFFFu; }
    std::uint8_t Generation() const { return static_cast<std::uint8_t>(raw & 0xFFu); }
    // A word that can hold a location at all: no reserved bit set, and in
    // use or all zero.
    bool Plausible() const { return (raw & 0x4C000000u) == 0 && (Initialized() || raw == 0); }

    static CacheLocation Blocks(int file, std::uint32_t first, std::uint32_t count) {
        return {0x80000000u | (static_cast<std::uint32_t>(file) << 28) | ((count - 1) << 24) |
                (first & 0x00FFFFFFu)};
    }
    static CacheLocation Separate(std::uint8_t generation, std::uint32_t sizeK) {
        return {0x80000000u | ((sizeK & 0xFFFFu) << 8) | generation};
    }
};

// The block size of block file 1, 2 or 3: 256, 1024, 4096 bytes.
inline std::uint32_t BlockSize(int file) { return 256u << (2 * (file - 1)); }

// The bytes of the allocation bitmap that starts block file 1, 2 or 3: 4096
// each up to map 1.18; from 1.19 one bit per block of 131,072, 32,768 and
// 8,192 blocks (16384, 4096, 1024 bytes).
inline std::uint32_t BitmapBytes(int file, unsigned mapMinor) {
    if (mapMinor < 19) return 4096;
    return (131072u >> (2 * (file - 1))) / 8;
}

}  // namespace restash::mozilla
