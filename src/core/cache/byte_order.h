#pragma once
// Fixed-size integers read from and written to byte strings in either byte
// order. Readers check the bounds before they call these.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace restash {

inline std::uint32_t ReadBig32(std::string_view bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

inline std::uint32_t ReadLittle32(std::string_view bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

inline std::uint32_t Read32(std::string_view bytes, std::size_t at, bool bigEndian) {
    return bigEndian ? ReadBig32(bytes, at) : ReadLittle32(bytes, at);
}

inline std::uint16_t ReadBig16(std::string_view bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline void PutBig32(std::string& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<char>(v >> 24);
    out[at + 1] = static_cast<char>(v >> 16);
    out[at + 2] = static_cast<char>(v >> 8);
    out[at + 3] = static_cast<char>(v);
}

inline void Put32(std::string& out, std::size_t at, std::uint32_t v, bool bigEndian) {
    if (bigEndian) return PutBig32(out, at, v);
    out[at] = static_cast<char>(v);
    out[at + 1] = static_cast<char>(v >> 8);
    out[at + 2] = static_cast<char>(v >> 16);
    out[at + 3] = static_cast<char>(v >> 24);
}

inline void AppendBig32(std::string& out, std::uint32_t v) {
    out.resize(out.size() + 4);
    PutBig32(out, out.size() - 4, v);
}

inline void Append32(std::string& out, std::uint32_t v, bool bigEndian) {
    out.resize(out.size() + 4);
    Put32(out, out.size() - 4, v, bigEndian);
}

}  // namespace restash
