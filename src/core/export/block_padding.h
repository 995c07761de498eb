#pragma once
// What SHA-1 and SHA-256 share: 64-byte blocks, big-endian words, and the
// closing padding with the message length in bits.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace restash {

inline std::uint32_t LoadBigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

inline void StoreBigEndian32(std::uint32_t v, std::uint8_t* p) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

// Runs block over every whole 64-byte block of pending + bytes and keeps the
// rest in pending.
template <typename BlockFn>
void FeedBlocks(std::string_view bytes, std::array<std::uint8_t, 64>& pending, std::size_t& pendingSize,
                BlockFn block) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t n = bytes.size();
    if (pendingSize > 0) {
        const std::size_t take = std::min(n, 64 - pendingSize);
        std::memcpy(pending.data() + pendingSize, p, take);
        pendingSize += take;
        p += take;
        n -= take;
        if (pendingSize < 64) return;
        block(pending.data());
        pendingSize = 0;
    }
    for (; n >= 64; p += 64, n -= 64) block(p);
    std::memcpy(pending.data(), p, n);
    pendingSize = n;
}

// The 0x80 byte, zeros, and the length in bits as a big-endian 64-bit value.
template <typename BlockFn>
void PadFinalBlocks(std::uint64_t length, std::array<std::uint8_t, 64>& pending, std::size_t pendingSize,
                    BlockFn block) {
    pending[pendingSize++] = 0x80;
    if (pendingSize > 56) {
        std::memset(pending.data() + pendingSize, 0, 64 - pendingSize);
        block(pending.data());
        pendingSize = 0;
    }
    std::memset(pending.data() + pendingSize, 0, 56 - pendingSize);
    const std::uint64_t bits = length * 8;
    StoreBigEndian32(static_cast<std::uint32_t>(bits >> 32), pending.data() + 56);
    StoreBigEndian32(static_cast<std::uint32_t>(bits), pending.data() + 60);
    block(pending.data());
}

}  // namespace restash
