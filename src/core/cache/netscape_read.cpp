#include "core/cache/mapped_file.h"
#include "core/cache/netscape_readers.h"

namespace restash {

CacheRead ReadMappedIndex(const std::string& indexPath, const std::string& cacheDir, CacheEntryList& entries,
                          ProgressSink& progress,
                          const std::function<CacheRead(std::string_view, const CacheFolder&,
                                                        const std::function<void(std::size_t, std::size_t)>&)>& read) {
    ReadingBusy busy(progress);
    const MappedFile file(indexPath);
    // Emptied only once the file is open, so a failed open keeps the old list.
    entries.clear();
    const CacheFolder folder(cacheDir);
    return read(file.bytes(), folder, [&file](std::size_t from, std::size_t to) { file.Release(from, to); });
}

}  // namespace restash
