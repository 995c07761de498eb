#include "core/cache/netscape6/netscape6_record.h"

#include <cstdio>

#include "core/cache/byte_order.h"

namespace restash::netscape6 {
namespace {

constexpr std::size_t kFixedTail =
    2 + 3 * 4 + 4 + 4 + 4 + 4;  // flags, times, rate (without the access count)

// Reads a length-prefixed field at pos; false when it runs past data.
bool TakeField(std::string_view data, std::size_t& pos, std::string& out) {
    if (pos + 4 > data.size()) return false;
    const std::uint32_t length = ReadLittle32(data, pos);
    pos += 4;
    if (length > data.size() - pos) return false;
    out = std::string(data.substr(pos, length));
    pos += length;
    return true;
}

bool PrintableTag(std::string_view tag) {
    for (const char c : tag)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

// The annotations from pos; pos is left after the empty tag.
bool ReadAnnotations(std::string_view m, std::size_t& pos, bool prefixed, CacheMetadata& out) {
    for (;;) {
        std::string tag;
        if (prefixed) {
            if (pos + 4 > m.size()) return false;
            const std::uint32_t length = ReadBig32(m, pos);
            pos += 4;
            if (length > m.size() - pos) return false;
            tag = std::string(m.substr(pos, length));
            pos += length;
        } else {
            const std::size_t end = m.find('\0', pos);
            if (end == std::string_view::npos) return false;
            tag = std::string(m.substr(pos, end - pos));
            pos = end + 1;
        }
        if (tag.empty()) return true;
        if (!PrintableTag(tag) || pos + 4 > m.size()) return false;
        const std::uint32_t length = ReadBig32(m, pos);
        pos += 4;
        if (length > m.size() - pos) return false;
        out.annotations.emplace_back(std::move(tag), std::string(m.substr(pos, length)));
        pos += length;
    }
}

bool ReadTail(std::string_view m, std::size_t pos, CacheMetadata& out) {
    const std::size_t rest = m.size() - pos;
    if (rest != kFixedTail + 1 && rest != kFixedTail + 2) return false;
    out.flags = ReadBig16(m, pos);
    pos += 2;
    out.accesses = rest == kFixedTail + 2 ? ReadBig16(m, pos) : static_cast<unsigned char>(m[pos]);
    pos += rest - kFixedTail;
    for (std::uint32_t& t : out.accessTimes) {
        t = ReadBig32(m, pos);
        pos += 4;
    }
    out.lastUpdate = ReadBig32(m, pos);
    out.lastModified = ReadBig32(m, pos + 4);
    out.expires = ReadBig32(m, pos + 8);
    return true;
}

}  // namespace

std::optional<CacheRecord> ParseCacheRecord(std::string_view data) {
    if (data.size() < 20 || ReadLittle32(data, 0) != data.size()) return std::nullopt;
    CacheRecord r;
    r.recordId = static_cast<std::int32_t>(ReadLittle32(data, 4));
    std::size_t pos = 8;
    if (!TakeField(data, pos, r.key) || !TakeField(data, pos, r.metadata) || !TakeField(data, pos, r.fileUrl))
        return std::nullopt;
    if (pos != data.size() || r.key.empty()) return std::nullopt;
    if (!r.fileUrl.empty() && r.fileUrl.back() == '\0') r.fileUrl.pop_back();
    return r;
}

std::optional<CacheMetadata> ParseCacheMetadata(std::string_view metadata) {
    if (metadata.empty() || metadata[0] != 1) return std::nullopt;
    for (const bool prefixed : {true, false}) {
        CacheMetadata out;
        std::size_t pos = 1;
        if (ReadAnnotations(metadata, pos, prefixed, out) && ReadTail(metadata, pos, out)) return out;
    }
    return std::nullopt;
}

std::string BodyFileName(std::int32_t recordId) {
    const auto id = static_cast<std::uint32_t>(recordId);
    char name[16];
    std::snprintf(name, sizeof name, "%02x/%08x", id % 32, id);
    return name;
}

}  // namespace restash::netscape6
