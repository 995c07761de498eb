#include "core/cache/mozilla/block_bitmap.h"

namespace restash::mozilla {
namespace {

bool AllInUse(std::string_view bitmap, const std::vector<BlockRun>& runs, BitmapLayout layout) {
    for (const BlockRun& run : runs)
        for (std::uint32_t b = run.first; b < run.first + run.count; ++b)
            if (!BlockInUse(bitmap, b, layout)) return false;
    return true;
}

}  // namespace

BitPlace PlaceOfBlock(std::uint32_t block, BitmapLayout layout) {
    if (layout == BitmapLayout::Bytes) return {block / 8, block % 8};
    // Word block/32 is stored most significant byte first.
    return {std::size_t{block / 32} * 4 + 3 - (block % 32) / 8, block % 8};
}

bool BlockInUse(std::string_view bitmap, std::uint32_t block, BitmapLayout layout) {
    const BitPlace place = PlaceOfBlock(block, layout);
    if (place.byte >= bitmap.size()) return false;
    return (static_cast<unsigned char>(bitmap[place.byte]) >> place.bit) & 1u;
}

std::optional<BitmapLayout> LayoutOf(std::string_view bitmap, const std::vector<BlockRun>& runs) {
    if (runs.empty()) return BitmapLayout::Bytes;
    const bool bytes = AllInUse(bitmap, runs, BitmapLayout::Bytes);
    const bool words = AllInUse(bitmap, runs, BitmapLayout::BigEndianWords);
    if (bytes == words) return std::nullopt;
    return bytes ? BitmapLayout::Bytes : BitmapLayout::BigEndianWords;
}

}  // namespace restash::mozilla
