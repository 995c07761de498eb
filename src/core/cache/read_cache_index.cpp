#include "core/cache/read_cache_index.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/cache/mapped_file.h"
#include "core/platform/error.h"
#include "core/platform/text.h"

namespace restash {

namespace {

constexpr std::size_t kMarkerLength = 10;

// Clears the busy state however the read ends.
class BusyScope {
public:
    explicit BusyScope(ProgressSink& progress) : progress_(progress) { progress_.Busy(true, kReadingCaption); }
    ~BusyScope() { progress_.Busy(false, kReadingCaption); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ProgressSink& progress_;
};

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

void ReadCacheIndex(IndexFormat format, const std::string& cacheDir, const std::string& fatName,
                    CacheEntryList& entries, ProgressSink& progress) {
    BusyScope busy(progress);
    const std::string indexPath = cacheDir + fatName;
    const MappedFile file(indexPath);
    // Emptied only once the file is open, so a failed open keeps the old list.
    entries.clear();
    const CacheFolder folder(cacheDir);
    if (format == IndexFormat::TextIndex)
        ReadTextIndex(file.bytes(), indexPath, folder, entries, progress);
    else
        ReadHashIndex(file.bytes(), folder, entries, progress,
                      [&file](std::size_t from, std::size_t to) { file.Release(from, to); });
}

}  // namespace restash
