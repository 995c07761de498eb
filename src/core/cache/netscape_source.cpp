#include "core/cache/netscape_source.h"

#include "core/cache/cache_folder.h"
#include "core/platform/error.h"
#include "core/platform/file_read_buffer.h"
#include "core/platform/paths.h"

namespace restash {
namespace {

// A Netscape body: the whole of one cache file.
class CacheFileBody final : public EntryBody {
public:
    explicit CacheFileBody(std::string path) : path_(std::move(path)) {}
    const std::string& Label() const override { return path_; }
    const std::string* PlainFile() const override { return &path_; }
    std::unique_ptr<std::streambuf> Open() const override { return std::make_unique<FileReadBuffer>(path_); }

private:
    std::string path_;
};

// The cache folder listed once; names are found without regard to case.
class FolderBodies final : public BodyLookup {
public:
    explicit FolderBodies(const std::string& dir) : folder_(dir) {}
    std::unique_ptr<EntryBody> Find(const CacheEntry& entry) const override {
        const std::optional<std::string> path = folder_.Find(entry.Body.Name);
        if (!path) return nullptr;
        return std::make_unique<CacheFileBody>(*path);
    }

private:
    CacheFolder folder_;
};

}  // namespace

CacheTraits NetscapeTraits(IndexFormat format) {
    CacheTraits t;
    t.format = format;
    const bool hash = format == IndexFormat::HashIndex;
    // The hash form's stamps run 65,536 seconds ahead of the clock.
    t.stampShift = hash ? 65536 : 0;
    t.otherFilesAtFirst = hash;
    t.rewritesHistory = !hash;
    t.framesetIndex = hash;
    t.removal = hash ? RemovalKind::ListOnly : RemovalKind::RewritesIndex;
    t.family = hash ? "Netscape 2-4" : "Netscape 1-2";
    return t;
}

NetscapeSource::NetscapeSource(std::string indexPath, IndexFormat format)
    : indexPath_(std::move(indexPath)), cacheDir_(DirPart(indexPath_)), traits_(NetscapeTraits(format)) {}

std::unique_ptr<BodyLookup> NetscapeSource::Bodies() const { return std::make_unique<FolderBodies>(cacheDir_); }

void NetscapeSource::ClearLeftovers(const std::string& workFolder, FileSystem& fs) const {
    fs.Remove(WithTrailingSeparator(workFolder) + kTempFatName);
    // A rewrite that was killed leaves its new index beside the index.
    if (traits_.removal == RemovalKind::RewritesIndex) fs.Remove(TemporaryNameFor(indexPath_));
}

bool NetscapeSource::RemoveCacheFile(const CacheFolder& folder, const CacheEntry& entry, FileSystem& fs,
                                     Removal& removal) {
    const std::optional<std::string> path = folder.Find(entry.Body.Name);
    if (!path) return true;  // missing, or a name that would leave the folder
    try {
        fs.Remove(*path);
        ++removal.bodiesRemoved;
        return true;
    } catch (const FileError& e) {
        removal.failures.push_back({entry.Url, entry.Body.Name, e.what()});
        return false;
    }
}

}  // namespace restash
