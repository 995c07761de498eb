// The hash-form cache index: a Berkeley DB 1.x hash file whose pairs are
// Netscape's cache records.
#include "core/cache/hash_header.h"
#include "core/cache/hash_page_walk.h"
#include "core/cache/hash_pairs.h"
#include "core/cache/hash_record.h"
#include "core/cache/netscape_readers.h"

namespace restash {

HashIndexRead ReadHashIndex(std::string_view bytes, const CacheFolder& folder, CacheEntryList& entries,
                            ProgressSink& progress, const ReadOptions& options,
                            const std::function<void(std::size_t, std::size_t)>& release) {
    HashIndexRead read;
    read.damage.fileSize = bytes.size();
    const auto header = ParseHashHeader(bytes);
    if (!header) {
        read.damage.headerDamaged = true;
        read.ending = WalkHashPages(bytes, folder, entries, progress, options);
        return read;
    }
    // Entries come in file page order, and on each page from the lowest
    // position upwards: the order a walk over the pages of a clean file gives.
    const LiveHashContents live = CollectLivePairs(bytes, *header);
    read.damage.pageSize = header->pageSize;
    read.damage.brokenPages = live.brokenPages;
    read.damage.pagesMissing = live.pagesMissing;
    read.damage.recordsCounted = header->keyCount;
    read.damage.recordsFound = live.pairs.size();
    // One allocation for the list: growing it by doubling would hold two
    // copies of a large cache's entries at once.
    entries.reserve(entries.size() + live.pairs.size());
    // The file's pages need not stay in memory together with the entries made
    // from them: they are dropped now and read again page by page, and each
    // page once its entries are made.
    if (release) release(0, bytes.size());
    std::size_t next = 0;
    for (std::uint64_t page : live.pages) {
        if (release) release(0, page * header->pageSize);
        if (!progress.ProcessMessages()) {
            read.ending = Ending::Stopped;
            return read;
        }
        for (; next < live.pairs.size() && live.pairs[next].page == page; ++next) {
            const HashPair& pair = live.pairs[next];
            if (IsBookkeepingKey(pair.key)) continue;
            AcceptRecord(DecodeCacheRecord(pair.key, pair.data), folder, entries, options);
        }
    }
    return read;
}

}  // namespace restash
