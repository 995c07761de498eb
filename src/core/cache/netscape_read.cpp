#include "core/cache/mapped_file.h"
#include "core/cache/netscape_readers.h"

namespace restash {
namespace {

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

CacheRead ReadMappedIndex(const std::string& indexPath, const std::string& cacheDir, CacheEntryList& entries,
                          ProgressSink& progress,
                          const std::function<CacheRead(std::string_view, const CacheFolder&,
                                                        const std::function<void(std::size_t, std::size_t)>&)>& read) {
    BusyScope busy(progress);
    const MappedFile file(indexPath);
    // Emptied only once the file is open, so a failed open keeps the old list.
    entries.clear();
    const CacheFolder folder(cacheDir);
    return read(file.bytes(), folder, [&file](std::size_t from, std::size_t to) { file.Release(from, to); });
}

}  // namespace restash
