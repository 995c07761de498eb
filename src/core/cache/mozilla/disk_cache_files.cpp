#include "core/cache/mozilla/disk_cache_files.h"

#include "core/cache/stored_body.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash::mozilla {
namespace {

// A separate metadata file larger than this is not one (they hold a header,
// a key and a few headers' worth of elements).
constexpr std::uint64_t kMaxMetadataFile = 16u << 20;

}  // namespace

DiskCacheFiles::DiskCacheFiles(std::string folder)
    : folder_(WithTrailingSeparator(folder)), listing_(folder_) {
    for (int file = 1; file <= 3; ++file) {
        const auto path = Find(BlockFileName(file));
        if (!path) continue;
        try {
            blocks_[file - 1] = std::make_unique<MappedFile>(*path);
        } catch (const FileError&) {
            // An unreadable block file is read as missing.
        }
    }
}

std::string DiskCacheFiles::BlockFileName(int file) { return "_CACHE_00" + std::to_string(file) + "_"; }

std::string_view DiskCacheFiles::BlockFile(int file) const {
    if (file < 1 || file > 3 || !blocks_[file - 1]) return {};
    return blocks_[file - 1]->bytes();
}

std::optional<std::string> DiskCacheFiles::FindSeparate(std::uint32_t hashNumber, bool metadata,
                                                        std::uint8_t generation, unsigned mapMinor,
                                                        std::string& relativePath) const {
    const bool nested = mapMinor >= 19;
    relativePath = SeparateFileName(hashNumber, metadata, generation, nested);
    if (auto path = Find(relativePath)) return path;
    // A folder copied between versions may hold the other form.
    const std::string other = SeparateFileName(hashNumber, metadata, generation, !nested);
    if (auto path = Find(other)) {
        relativePath = other;
        return path;
    }
    return std::nullopt;
}

std::string DiskCacheFiles::MetadataBytes(CacheLocation location, std::uint32_t hashNumber, unsigned mapMinor,
                                          std::string& relativePath, std::string& problem) const {
    if (!location.Initialized()) {
        problem = "the record has no metadata";
        return {};
    }
    if (location.File() == 0) {
        const auto path = FindSeparate(hashNumber, true, location.Generation(), mapMinor, relativePath);
        if (!path) {
            problem = "its metadata file is missing";
            return {};
        }
        BodyLocation whole{BodyLocation::Kind::SeparateFile, *path, relativePath, 0, kMaxMetadataFile};
        try {
            return ReadStoredBodyBytes(whole, kMaxMetadataFile);
        } catch (const FileError& e) {
            problem = e.problem();
            return {};
        }
    }
    relativePath = BlockFileName(location.File());
    const std::string_view file = BlockFile(location.File());
    const std::uint64_t size = BlockSize(location.File());
    const std::uint64_t at =
        BitmapBytes(location.File(), mapMinor) + std::uint64_t{location.FirstBlock()} * size;
    if (file.empty() || at >= file.size()) {
        problem =
            file.empty() ? "its block file is missing" : "its blocks lie past the end of the block file";
        return {};
    }
    return std::string(
        file.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(size * location.BlockCount())));
}

BodyLocation DiskCacheFiles::DataBody(CacheLocation location, std::uint32_t hashNumber, unsigned mapMinor,
                                      std::uint32_t dataSize) const {
    BodyLocation body;
    if (!location.Initialized()) return body;
    body.length = dataSize;
    if (location.File() == 0) {
        body.kind = BodyLocation::Kind::SeparateFile;
        body.path =
            FindSeparate(hashNumber, false, location.Generation(), mapMinor, body.relativePath).value_or("");
        return body;
    }
    body.kind = BodyLocation::Kind::BlockRun;
    body.blockFile = location.File();
    body.firstBlock = location.FirstBlock();
    body.blockCount = location.BlockCount();
    body.relativePath = BlockFileName(location.File());
    const std::uint64_t size = BlockSize(location.File());
    body.offset = BitmapBytes(location.File(), mapMinor) + std::uint64_t{body.firstBlock} * size;
    body.length = std::min<std::uint64_t>(dataSize, size * body.blockCount);
    if (!BlockFile(location.File()).empty()) body.path = *Find(body.relativePath);
    return body;
}

const std::vector<SeparateFile>& DiskCacheFiles::SeparateFiles() const {
    if (!separate_) separate_ = ListSeparateFiles(folder_);
    return *separate_;
}

}  // namespace restash::mozilla
