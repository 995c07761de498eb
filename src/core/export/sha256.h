#pragma once
// SHA-256, fed in pieces: the manifest's check sum of every cache file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace restash {

class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    void Update(std::string_view bytes);
    // The digest of everything given; the object is used up.
    Digest Final();

private:
    void Block(const std::uint8_t* p);

    std::array<std::uint32_t, 8> h_{0x6a09e667u, 0xbb67ae85u, 0x3c6ef372u, 0xa54ff53au,
                                    0x510e527fu, 0x9b05688cu, 0x1f83d9abu, 0x5be0cd19u};
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t length_ = 0;
};

}  // namespace restash
