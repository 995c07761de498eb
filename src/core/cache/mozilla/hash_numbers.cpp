#include "core/cache/mozilla/hash_numbers.h"

namespace restash::mozilla {
namespace {

void Mix(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c) {
    a -= b;
    a -= c;
    a ^= (c >> 13);
    b -= c;
    b -= a;
    b ^= (a << 8);
    c -= a;
    c -= b;
    c ^= (b >> 13);
    a -= b;
    a -= c;
    a ^= (c >> 12);
    b -= c;
    b -= a;
    b ^= (a << 16);
    c -= a;
    c -= b;
    c ^= (b >> 5);
    a -= b;
    a -= c;
    a ^= (c >> 3);
    b -= c;
    b -= a;
    b ^= (a << 10);
    c -= a;
    c -= b;
    c ^= (b >> 15);
}

std::uint32_t Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

std::uint32_t Word(std::string_view s, std::size_t i) {
    return Byte(s, i) | (Byte(s, i + 1) << 8) | (Byte(s, i + 2) << 16) | (Byte(s, i + 3) << 24);
}

}  // namespace

std::uint32_t Lookup2Hash(std::string_view bytes, std::uint32_t initval) {
    std::uint32_t a = 0x9e3779b9, b = 0x9e3779b9, c = initval;
    std::size_t at = 0;
    while (bytes.size() - at >= 12) {
        a += Word(bytes, at);
        b += Word(bytes, at + 4);
        c += Word(bytes, at + 8);
        Mix(a, b, c);
        at += 12;
    }
    c += static_cast<std::uint32_t>(bytes.size());
    // The last 11 bytes or fewer: a, b, then c from its second byte up (its
    // lowest byte holds the length).
    for (std::size_t i = 0; at + i < bytes.size(); ++i) {
        const std::uint32_t v = Byte(bytes, at + i);
        if (i < 4)
            a += v << (8 * i);
        else if (i < 8)
            b += v << (8 * (i - 4));
        else
            c += v << (8 * (i - 7));
    }
    Mix(a, b, c);
    return c;
}

std::uint32_t EarlyKeyHash(std::string_view key) {
    std::uint32_t h = 0;
    for (const char ch : key) {
        if (ch == '\0') break;
        h = (h >> 28) ^ (h << 4) ^ static_cast<unsigned char>(ch);
    }
    return h == 0 ? 0xFFFFFFFFu : h;
}

}  // namespace restash::mozilla
