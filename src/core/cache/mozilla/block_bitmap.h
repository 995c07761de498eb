#pragma once
// The allocation bitmap at the start of each block file: one bit per block,
// set while the block is in use. The first caches kept it as bytes, block b
// in bit b%8 of byte b/8; later ones as 32-bit big-endian words, block b in
// bit b%32 of word b/32. Which one a file uses is seen from the blocks its
// map's records use: in the right layout all their bits are set.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace restash::mozilla {

enum class BitmapLayout { Bytes, BigEndianWords };

struct BlockRun {
    std::uint32_t first = 0;
    std::uint32_t count = 1;
};

// The byte and bit of block's bit in a bitmap of that layout.
struct BitPlace {
    std::size_t byte = 0;
    unsigned bit = 0;
};
BitPlace PlaceOfBlock(std::uint32_t block, BitmapLayout layout);

bool BlockInUse(std::string_view bitmap, std::uint32_t block, BitmapLayout layout);

// The one layout in which every block of runs is in use; nothing when both
// or neither fit (a bitmap out of step with its map). With no runs at all,
// the layout does not matter and Bytes is returned.
std::optional<BitmapLayout> LayoutOf(std::string_view bitmap, const std::vector<BlockRun>& runs);

}  // namespace restash::mozilla
