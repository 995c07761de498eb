// Choosing the source for what the user named as the cache.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/cache/cache_source.h"
#include "core/cache/family_source.h"
#include "core/cache/netscape_source.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {

namespace {

constexpr std::size_t kMarkerLength = 10;

// The Netscape index file, of either form.
std::unique_ptr<CacheSource> NetscapeSourceFor(const std::string& indexPath) {
    if (DetectIndexFormat(indexPath) == IndexFormat::TextIndex) return std::make_unique<NetscapeTextSource>(indexPath);
    return std::make_unique<NetscapeHashSource>(indexPath);
}

}  // namespace

IndexFormat DetectIndexFormat(const std::string& indexPath) {
    const int fd = ::open(indexPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowErrno(indexPath, errno);
    char head[kMarkerLength];
    std::size_t got = 0;
    int err = 0;
    while (got < kMarkerLength) {
        const ssize_t n = ::read(fd, head + got, kMarkerLength - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (err != 0) ThrowErrno(indexPath, err);

    // Only the first line counts.
    std::string_view first(head, got);
    const std::size_t lineEnd = first.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos) first = first.substr(0, lineEnd);
    const std::string upper = ToUpperAscii(first);
    return (upper == "MCOM-CACHE" || upper == "MOSAIC-COM") ? IndexFormat::TextIndex : IndexFormat::HashIndex;
}

bool CacheIsThere(const std::string& location) {
    if (IsFile(location)) return true;
    return IsFolder(location) && RecognizeCache(location).format != CacheFormat::Unknown;
}

std::unique_ptr<CacheSource> OpenCacheSource(const std::string& location) {
    const bool folder = IsFolder(location);
    // A file that is no Mozilla-family cache's is read as a Netscape index,
    // whatever its contents: the reader says what is wrong with it.
    if (!folder && !IsFile(location)) return NetscapeSourceFor(location);
    const RecognizedCache cache = RecognizeCache(location);
    switch (cache.format) {
        case CacheFormat::MozillaDisk: return std::make_unique<MozillaDiskSource>(location, cache);
        case CacheFormat::Cache2: return std::make_unique<Cache2Source>(location, cache);
        case CacheFormat::Netscape6: return std::make_unique<Netscape6Source>(location, cache);
        case CacheFormat::NetscapeText:
        case CacheFormat::NetscapeHash: return NetscapeSourceFor(cache.indexPath);
        case CacheFormat::Unknown: break;
    }
    if (folder) throw FileError(location, "No cache found in this folder, nor in a Cache, cache2 or NewCache folder in it");
    return NetscapeSourceFor(location);
}

}  // namespace restash
