#include "core/cache/cache2/cache2_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "core/cache/byte_order.h"
#include "core/cache/cache2/cache2_key.h"
#include "core/cache/cache2/cache2_metadata.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace fs = std::filesystem;

namespace restash::cache2 {
namespace {

// Metadata larger than this is not cache2's (its elements are capped far lower).
constexpr std::uint64_t kMaxMetadata = 16u << 20;
constexpr std::size_t kProgressEvery = 256;

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

std::string ReadAt(const Descriptor& file, const std::string& path, std::uint64_t at, std::size_t length) {
    std::string bytes(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(file.fd, bytes.data() + done, length - done, static_cast<off_t>(at + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ThrowErrno(path, errno);
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

void FillEntry(const Cache2Metadata& m, const std::string& path, const std::string& relativePath,
               Cache2Entry& out) {
    out = Cache2Entry{};
    out.version = m.version;
    out.flags = m.flags;
    out.frecency = m.frecency;
    out.checksumMatches = m.checksumMatches;
    StoredEntry& s = out.entry;
    s.key = m.key;
    const Cache2Key key = SplitCache2Key(m.key);
    s.address = key.address;
    s.anonymous = key.anonymous;
    s.originAttributes = key.originAttributes;
    out.isPrivate = key.isPrivate;
    out.idExtension = key.idExtension;
    s.postId = PostIdOf(key.idExtension);
    s.metadataFile = relativePath;
    TakeMetadata(s, {m.fetchCount, m.lastFetched, m.lastModified, m.expires}, m.elements);
    s.dataSize = BodyLength(m, s.Element("alt-data").value_or(""));
    if (s.dataSize > 0) s.body = {BodyLocation::Kind::EntryFile, path, relativePath, 0, s.dataSize};
}

}  // namespace

bool ReadCache2Entry(const std::string& path, const std::string& relativePath, Cache2Entry& entry,
                     std::string& problem) {
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) ThrowErrno(path, errno);
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) ThrowErrno(path, errno);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size < 4) {
        problem = "not a cache2 entry (too short)";
        return false;
    }
    const std::string last = ReadAt(file, path, size - 4, 4);
    const std::uint32_t start = last.size() == 4 ? ReadBig32(last, 0) : 0;
    if (last.size() != 4 || start > size - 4 || size - start > kMaxMetadata) {
        problem = "not a cache2 entry (its metadata offset lies outside the file)";
        return false;
    }
    const std::string tail = ReadAt(file, path, start, static_cast<std::size_t>(size - start));
    const std::optional<Cache2Metadata> metadata = ParseCache2Metadata(tail, start, &problem);
    if (!metadata) return false;
    FillEntry(*metadata, path, relativePath, entry);
    return true;
}

Cache2Cache ReadCache2(const std::string& folder, ProgressSink& progress) {
    Cache2Cache cache;
    std::string base = WithTrailingSeparator(folder);
    std::error_code probe;
    // The entries folder itself may be named.
    const fs::path named = fs::path(base).parent_path();
    if (!fs::is_directory(base + "entries", probe) && named.filename() == "entries")
        base = WithTrailingSeparator(named.parent_path().string());
    cache.folder = base;
    const std::string entries = base + "entries";
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = fs::directory_iterator(entries, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (it->is_regular_file(ec) && !it->is_symlink(ec)) names.push_back(it->path().filename().string());
    if (ec) throw FileError(entries, ec.message());
    std::sort(names.begin(), names.end());
    std::size_t done = 0;
    for (const std::string& name : names) {
        if (++done % kProgressEvery == 0 && !progress.ProcessMessages()) {
            cache.stopped = true;
            break;
        }
        const std::string relative = "entries/" + name;
        Cache2Entry entry;
        std::string problem;
        try {
            if (!ReadCache2Entry(entries + "/" + name, relative, entry, problem)) {
                cache.warnings.push_back(FileWarning(WarningCode::EntryDamaged, relative, problem));
                continue;
            }
        } catch (const FileError& e) {
            cache.warnings.push_back(FileWarning(WarningCode::EntryDamaged, relative, e.problem()));
            continue;
        }
        if (!entry.checksumMatches)
            cache.warnings.push_back(FileWarning(WarningCode::EntryDamaged, relative,
                                                 "its metadata checksum does not match; read as it is"));
        cache.entries.push_back(std::move(entry));
    }
    return cache;
}

std::string Cache2Family() { return "Firefox 32+ (cache2)"; }

}  // namespace restash::cache2
