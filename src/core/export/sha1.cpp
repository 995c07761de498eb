#include "core/export/sha1.h"

#include <bit>
#include <cstring>

#include "core/export/block_padding.h"

namespace restash {

void Sha1::Block(const std::uint8_t* p) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) w[i] = LoadBigEndian32(p + 4 * i);
    for (int i = 16; i < 80; ++i) w[i] = std::rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const std::uint32_t t = std::rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = std::rotl(b, 30);
        b = a;
        a = t;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
}

void Sha1::Update(std::string_view bytes) {
    length_ += bytes.size();
    FeedBlocks(bytes, pending_, pendingSize_, [this](const std::uint8_t* p) { Block(p); });
}

Sha1::Digest Sha1::Final() {
    PadFinalBlocks(length_, pending_, pendingSize_, [this](const std::uint8_t* p) { Block(p); });
    Digest out;
    for (int i = 0; i < 5; ++i) StoreBigEndian32(h_[i], out.data() + 4 * i);
    return out;
}

}  // namespace restash
