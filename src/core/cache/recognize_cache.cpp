#include "core/cache/recognize_cache.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "core/cache/byte_order.h"
#include "core/cache/cache2/cache2_cache.h"
#include "core/cache/mozilla/disk_cache.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace fs = std::filesystem;

namespace restash {
namespace {

constexpr std::uint32_t kHashMagic = 0x061561;

std::string FirstBytes(const std::string& path, std::size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// The name of an entry of folder matching name without regard to case.
std::optional<std::string> Child(const std::string& folder, std::string_view name, bool wantFolder) {
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string leaf = it->path().filename().string();
        if (EqualsNoCase(leaf, name) && (wantFolder ? it->is_directory(ec) : it->is_regular_file(ec)))
            return WithTrailingSeparator(folder) + leaf;
    }
    return std::nullopt;
}

RecognizedCache Found(CacheFormat format, std::string family, std::string index, std::string folder) {
    RecognizedCache c;
    c.format = format;
    c.family = std::move(family);
    c.indexPath = std::move(index);
    c.folder = WithTrailingSeparator(folder);
    return c;
}

RecognizedCache MozillaAt(const std::string& folder, std::optional<std::string> map) {
    unsigned minor = 0;
    if (map) {
        const std::string head = FirstBytes(*map, 4);
        if (head.size() == 4 && ReadBig32(head, 0) >> 16 == 1) minor = ReadBig32(head, 0) & 0xFFFF;
        if (minor < 3 || minor > 19) minor = 0;
    }
    return Found(CacheFormat::MozillaDisk, mozilla::DiskCacheFamily(minor, map.has_value()), map.value_or(""),
                 folder);
}

// A Netscape index by its contents: the text form's header, or a DB 1.x hash file.
RecognizedCache NetscapeIndex(const std::string& path) {
    const std::string head = FirstBytes(path, 16);
    const std::string folder = fs::path(path).parent_path().string();
    if (StartsWithNoCase(head, "MCOM-CACHE") || StartsWithNoCase(head, "MOSAIC-COM"))
        return Found(CacheFormat::NetscapeText, "Netscape 1-2", path, folder);
    if (head.size() >= 4 && (ReadBig32(head, 0) == kHashMagic || ReadLittle32(head, 0) == kHashMagic)) {
        if (EqualsNoCase(fs::path(path).filename().string(), "cache.db"))
            return Found(CacheFormat::Netscape6, "Netscape 6.0", path, folder);
        return Found(CacheFormat::NetscapeHash, "Netscape 2-4", path, folder);
    }
    RecognizedCache unknown;
    unknown.problem = path + " is not a cache index";
    return unknown;
}

RecognizedCache FromFile(const std::string& path) {
    const fs::path p(path);
    const std::string name = p.filename().string();
    const std::string folder = p.parent_path().string();
    if (EqualsNoCase(name, "_CACHE_MAP_")) return MozillaAt(folder, path);
    if (StartsWithNoCase(name, "_CACHE_00")) return MozillaAt(folder, Child(folder, "_CACHE_MAP_", false));
    if (EqualsNoCase(p.parent_path().filename().string(), "entries"))
        return Found(CacheFormat::Cache2, cache2::Cache2Family(), "", p.parent_path().parent_path().string());
    return NetscapeIndex(path);
}

// The cache a folder holds itself, if any.
std::optional<RecognizedCache> FolderCache(const std::string& folder) {
    const auto map = Child(folder, "_CACHE_MAP_", false);
    if (map || Child(folder, "_CACHE_001_", false)) return MozillaAt(folder, map);
    if (Child(folder, "entries", true)) return Found(CacheFormat::Cache2, cache2::Cache2Family(), "", folder);
    for (const char* index : {"cache.db", "FAT.DB", "index.db", "FAT"})
        if (const auto path = Child(folder, index, false)) {
            RecognizedCache c = NetscapeIndex(*path);
            if (c.format != CacheFormat::Unknown) return c;
        }
    return std::nullopt;
}

// A profile folder: its cache folders, and those of its *.slt folders.
std::vector<RecognizedCache> ProfileCaches(const std::string& folder) {
    std::vector<std::string> places{folder};
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (it->is_directory(ec) && EndsWithNoCase(it->path().filename().string(), ".slt"))
            places.push_back(it->path().string());
    std::vector<RecognizedCache> found;
    for (const std::string& place : places)
        for (const char* name : {"cache2", "Cache", "NewCache"})
            if (const auto sub = Child(place, name, true))
                if (auto c = FolderCache(*sub)) found.push_back(std::move(*c));
    return found;
}

}  // namespace

const char* CacheFormatName(CacheFormat format) {
    switch (format) {
        case CacheFormat::NetscapeText:
            return "Netscape text index";
        case CacheFormat::NetscapeHash:
            return "Netscape hash index";
        case CacheFormat::Netscape6:
            return "Netscape 6.0 cache";
        case CacheFormat::MozillaDisk:
            return "Mozilla disk cache";
        case CacheFormat::Cache2:
            return "cache2";
        case CacheFormat::Unknown:
            break;
    }
    return "unknown";
}

RecognizedCache RecognizeCache(const std::string& path) {
    struct stat st {};
    RecognizedCache none;
    if (::stat(path.c_str(), &st) != 0) {
        none.problem = path + ": File not found";
        return none;
    }
    if (S_ISREG(st.st_mode)) return FromFile(path);
    if (!S_ISDIR(st.st_mode)) {
        none.problem = path + " is neither a file nor a folder";
        return none;
    }
    const std::string folder = WithTrailingSeparator(path);
    if (EqualsNoCase(fs::path(folder).parent_path().filename().string(), "entries"))
        return Found(CacheFormat::Cache2, cache2::Cache2Family(), "",
                     fs::path(folder).parent_path().parent_path().string());
    if (auto c = FolderCache(folder)) return *c;
    std::vector<RecognizedCache> found = ProfileCaches(folder);
    if (found.empty()) {
        none.problem = "no cache found in " + path;
        return none;
    }
    RecognizedCache first = found.front();
    first.others.assign(found.begin() + 1, found.end());
    return first;
}

}  // namespace restash
