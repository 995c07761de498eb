#pragma once
// SHA-1, fed in pieces: the digest web archives name their records by.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace restash {

class Sha1 {
public:
    using Digest = std::array<std::uint8_t, 20>;

    void Update(std::string_view bytes);
    // The digest of everything given; the object is used up.
    Digest Final();

private:
    void Block(const std::uint8_t* p);

    std::array<std::uint32_t, 5> h_{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t length_ = 0;
};

}  // namespace restash
