#include "core/cache/netscape6/netscape6_cache.h"

#include <filesystem>

#include "core/cache/cache_folder.h"
#include "core/cache/hash_header.h"
#include "core/cache/hash_pairs.h"
#include "core/cache/mapped_file.h"
#include "core/cache/netscape6/netscape6_record.h"
#include "core/platform/paths.h"

namespace fs = std::filesystem;

namespace restash::netscape6 {
namespace {

constexpr std::size_t kProgressEvery = 1024;

// The last two parts of the record's file URL ("0a/ff00000a"), used when the
// folder named for the record id does not hold the body.
std::string UrlTail(std::string_view url) {
    const std::size_t last = url.rfind('/');
    if (last == std::string_view::npos || last == 0) return {};
    const std::size_t before = url.rfind('/', last - 1);
    return std::string(url.substr(before == std::string_view::npos ? 0 : before + 1));
}

BodyLocation BodyOf(const CacheFolder& folder, const CacheRecord& record) {
    BodyLocation body;
    body.kind = BodyLocation::Kind::EntryFile;
    body.relativePath = BodyFileName(record.recordId);
    auto path = folder.Find(body.relativePath);
    if (!path) {
        const std::string tail = UrlTail(record.fileUrl);
        if (!tail.empty() && (path = folder.Find(tail))) body.relativePath = tail;
    }
    if (path) {
        std::error_code ec;
        const auto size = fs::file_size(*path, ec);
        body.path = *path;
        body.length = ec ? 0 : size;
    }
    return body;
}

StoredEntry EntryOf(const CacheFolder& folder, const CacheRecord& record, const CacheMetadata& metadata) {
    StoredEntry e;
    e.key = record.key;
    e.address = record.key.substr(0, record.key.find('\0'));
    e.fetchCount = metadata.accesses;
    e.lastFetched = metadata.accessTimes[0];
    e.lastModified = metadata.lastModified;
    e.expires = metadata.expires;
    for (const auto& [tag, bytes] : metadata.annotations) {
        std::string value = bytes.substr(0, bytes.find('\0'));
        if (tag == "HTTP headers") e.responseHead = value;
        e.elements.emplace_back(tag, std::move(value));
    }
    e.metadataFile = "cache.db";
    e.body = BodyOf(folder, record);
    e.dataSize = static_cast<std::uint32_t>(e.body.length);
    return e;
}

}  // namespace

Netscape6Cache ReadNetscape6Cache(const std::string& indexPath, ProgressSink& progress) {
    Netscape6Cache cache;
    cache.folder = WithTrailingSeparator(fs::path(indexPath).parent_path().string());
    const MappedFile file(indexPath);
    const auto header = ParseHashHeader(file.bytes());
    if (!header) {
        cache.warnings.push_back(DamagedIndexWarning(indexPath, "its header is not a DB 1.85 hash file's", 0));
        return cache;
    }
    const CacheFolder folder(cache.folder);
    const LiveHashContents contents = CollectLivePairs(file.bytes(), *header);
    std::size_t done = 0;
    for (const HashPair& pair : contents.pairs) {
        if (++done % kProgressEvery == 0 && !progress.ProcessMessages()) {
            cache.stopped = true;
            break;
        }
        // The record pairs: a record id (4 bytes) leading to a record whose first word is its size.
        if (pair.key.size() != 4 || pair.data.size() <= 4) continue;
        const auto record = ParseCacheRecord(pair.data);
        const auto metadata = record ? ParseCacheMetadata(record->metadata) : std::nullopt;
        if (!metadata) {
            cache.warnings.push_back(FileWarning(WarningCode::EntryDamaged, indexPath,
                                                 "a record on page " + std::to_string(pair.page) +
                                                     " could not be read"));
            continue;
        }
        StoredEntry e = EntryOf(folder, *record, *metadata);
        if (e.body.Missing())
            cache.warnings.push_back(
                FileWarning(WarningCode::BodyMissing, e.body.relativePath, "the body of " + e.address + " is missing"));
        cache.entries.push_back(std::move(e));
    }
    return cache;
}

}  // namespace restash::netscape6
