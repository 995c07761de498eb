#pragma once
// Small valid GIF images for fixtures and samples.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace restash::test {

// A GIF89a of width x height pixels; pixels holds one palette index (0-3)
// per pixel, row by row; palette holds four 0xRRGGBB colours.
std::string MakeGif(int width, int height, const std::vector<std::uint8_t>& pixels,
                    const std::array<std::uint32_t, 4>& palette);

// A striped picture in two colours, for when only a valid image is needed.
std::string StripedGif(int width, int height, std::uint32_t ink, std::uint32_t paper);

}  // namespace restash::test
