#include "core/cache/mozilla/disk_entry.h"

#include "core/cache/byte_order.h"

namespace restash::mozilla {
namespace {

bool Printable(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

}  // namespace

std::optional<DiskEntry> ParseDiskEntry(std::string_view bytes, std::string* problem) {
    auto fail = [&](const char* what) {
        if (problem) *problem = what;
        return std::nullopt;
    };
    if (bytes.size() < kDiskEntryHeaderBytes) return fail("the metadata entry is cut short");
    DiskEntry e;
    const std::uint32_t version = ReadBig32(bytes, 0);
    e.major = version >> 16;
    e.minor = version & 0xFFFF;
    e.metaLocation = ReadBig32(bytes, 4);
    e.fetchCount = ReadBig32(bytes, 8);
    e.lastFetched = ReadBig32(bytes, 12);
    e.lastModified = ReadBig32(bytes, 16);
    e.expires = ReadBig32(bytes, 20);
    e.dataSize = ReadBig32(bytes, 24);
    const std::uint64_t keySize = ReadBig32(bytes, 28);
    const std::uint64_t metaSize = ReadBig32(bytes, 32);
    if (keySize == 0) return fail("the metadata entry has no key");
    if (kDiskEntryHeaderBytes + keySize + metaSize > bytes.size())
        return fail("the metadata entry's sizes run past its end");
    std::string_view key = bytes.substr(kDiskEntryHeaderBytes, keySize);
    if (key.back() == '\0') key.remove_suffix(1);
    e.key = std::string(key.substr(0, key.find('\0')));
    e.metadata = std::string(bytes.substr(kDiskEntryHeaderBytes + keySize, metaSize));
    e.bytes = static_cast<std::size_t>(kDiskEntryHeaderBytes + keySize + metaSize);
    return e;
}

std::optional<DiskEntry> FindDiskEntryAt(std::string_view bytes, std::uint32_t blockSize) {
    if (bytes.size() < kDiskEntryHeaderBytes) return std::nullopt;
    const std::uint32_t version = ReadBig32(bytes, 0);
    if (version >> 16 != 1 || (version & 0xFFFF) < 3 || (version & 0xFFFF) > 19) return std::nullopt;
    const std::uint64_t keySize = ReadBig32(bytes, 28);
    const std::uint64_t metaSize = ReadBig32(bytes, 32);
    if (keySize < 3 || kDiskEntryHeaderBytes + keySize + metaSize > std::uint64_t{4} * blockSize)
        return std::nullopt;
    std::optional<DiskEntry> e = ParseDiskEntry(bytes);
    if (!e || bytes[kDiskEntryHeaderBytes + keySize - 1] != '\0' || e->key.size() != keySize - 1)
        return std::nullopt;
    if (!Printable(e->key) || e->key.find(':') == std::string::npos) return std::nullopt;
    if (metaSize != 0 && e->metadata.back() != '\0') return std::nullopt;
    return e;
}

}  // namespace restash::mozilla
