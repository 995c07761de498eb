// A disk cache metadata entry over any bytes, read as the map reader and as
// the search read it, then taken apart into the facts of a cache entry.
#include <cstddef>
#include <cstdint>

#include "core/cache/http_head.h"
#include "core/cache/mozilla/disk_cache_read.h"
#include "core/cache/mozilla/disk_entry.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::uint32_t block : {256u, 1024u, 4096u}) {
        const auto found = mozilla::FindDiskEntryAt(bytes, block);
        if (found) FUZZ_CHECK(found->bytes <= 4 * block && found->bytes <= size);
    }
    const auto entry = mozilla::ParseDiskEntry(bytes);
    if (!entry) return 0;
    FUZZ_CHECK(entry->bytes <= size);
    const mozilla::DiskCacheEntry e = mozilla::EntryFromMetadata(*entry, "_CACHE_001_");
    const CacheEntry facts = ToCacheEntry(e.entry);
    FUZZ_CHECK(facts.MimeType.size() <= 50);
    FUZZ_CHECK(facts.Domain.size() <= 50);
    FUZZ_CHECK(facts.category == ClassifyMimeType(facts.MimeType));
    for (const auto& [name, value] : ParseHttpHead(e.entry.responseHead).headers) FUZZ_CHECK(!name.empty());
    return 0;
}
