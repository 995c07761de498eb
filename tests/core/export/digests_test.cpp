#include <gtest/gtest.h>

#include <string>

#include "core/export/digest_text.h"
#include "core/export/sha1.h"
#include "core/export/sha256.h"

namespace restash::test {
namespace {

template <typename Hash>
std::string HexOf(std::string_view bytes) {
    Hash h;
    h.Update(bytes);
    return Hex(h.Final());
}

// Lengths around the 56- and 64-byte edges of the closing padding, and
// inputs of several blocks, against published test vectors.
TEST(Digests, Sha1MatchesPublishedVectors) {
    EXPECT_EQ(HexOf<Sha1>(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(HexOf<Sha1>("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(HexOf<Sha1>("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(HexOf<Sha1>(std::string(1000000, 'a')), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
    EXPECT_EQ(HexOf<Sha1>(std::string(64, 'a')), "0098ba824b5c16427bd7a1122a5a442a25ec644d");
}

TEST(Digests, Sha256MatchesPublishedVectors) {
    EXPECT_EQ(HexOf<Sha256>(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HexOf<Sha256>("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexOf<Sha256>("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(HexOf<Sha256>(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// A cache file arrives in 64 KB pieces; how it is cut must not matter.
TEST(Digests, PiecesGiveTheSameDigestAsOneUpdate) {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += static_cast<char>(i * 7 + 3);
    for (const std::size_t cut : {1u, 55u, 56u, 63u, 64u, 65u, 129u, 999u}) {
        Sha1 a;
        Sha256 b;
        for (std::size_t at = 0; at < data.size(); at += cut) {
            a.Update(std::string_view(data).substr(at, cut));
            b.Update(std::string_view(data).substr(at, cut));
        }
        EXPECT_EQ(Hex(a.Final()), HexOf<Sha1>(data)) << "pieces of " << cut;
        EXPECT_EQ(Hex(b.Final()), HexOf<Sha256>(data)) << "pieces of " << cut;
    }
}

TEST(Digests, Base32FollowsRfc4648) {
    auto b32 = [](std::string_view s) {
        return Base32(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
    };
    EXPECT_EQ(b32(""), "");
    EXPECT_EQ(b32("f"), "MY======");
    EXPECT_EQ(b32("fo"), "MZXQ====");
    EXPECT_EQ(b32("foo"), "MZXW6===");
    EXPECT_EQ(b32("foob"), "MZXW6YQ=");
    EXPECT_EQ(b32("fooba"), "MZXW6YTB");
    EXPECT_EQ(b32("foobar"), "MZXW6YTBOI======");
    // A SHA-1 is 160 bits: exactly 32 characters, no padding.
    Sha1 empty;
    EXPECT_EQ(Base32(empty.Final()), "3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ");
}

}  // namespace
}  // namespace restash::test
