#pragma once
// Bounded reads of the integers inside a hash index. A read that would reach
// past the end of the bytes yields 0, so damaged offsets never leave the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace restash {

inline std::uint32_t ReadUint(std::string_view bytes, std::size_t at, std::size_t width, bool bigEndian) {
    if (at > bytes.size() || bytes.size() - at < width) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[at + (bigEndian ? i : width - 1 - i)]);
        value = (value << 8) | byte;
    }
    return value;
}

inline std::uint16_t ReadU16(std::string_view bytes, std::size_t at, bool bigEndian = false) {
    return static_cast<std::uint16_t>(ReadUint(bytes, at, 2, bigEndian));
}
inline std::uint32_t ReadU32(std::string_view bytes, std::size_t at, bool bigEndian = false) {
    return ReadUint(bytes, at, 4, bigEndian);
}

}  // namespace restash
