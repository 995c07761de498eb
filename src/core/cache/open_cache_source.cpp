// Choosing the source for what the user named as the cache.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/cache/cache_source.h"
#include "core/cache/index_diagnosis.h"
#include "core/cache/netscape_source.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {

namespace {
constexpr std::size_t kMarkerLength = 10;
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

bool CacheIsThere(const std::string& location) { return IsFile(location); }

std::unique_ptr<CacheSource> OpenCacheSource(const std::string& indexPath) {
    // A foreign file is refused here, before any command reads it as an index.
    if (DiagnoseIndexFile(indexPath) == IndexFormat::TextIndex) return std::make_unique<NetscapeTextSource>(indexPath);
    return std::make_unique<NetscapeHashSource>(indexPath);
}

}  // namespace restash
