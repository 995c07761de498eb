#pragma once
// What every cache entry an index reader accepts must satisfy, whatever the
// index held: a safe file name and the short fields within their bounds.
#include "core/cache/cache_entry.h"
#include "core/cache/cache_folder.h"
#include "fuzz/targets/fuzz_input.h"

namespace restash::fuzz {

inline void CheckEntries(const CacheEntryList& entries) {
    for (const CacheEntry& e : entries) {
        FUZZ_CHECK(IsSafeCacheName(e.Body.Name));
        FUZZ_CHECK(e.MimeType.size() <= 50);
        FUZZ_CHECK(e.Domain.size() <= 50);
        FUZZ_CHECK(e.category == ClassifyMimeType(e.MimeType));
    }
}

}  // namespace restash::fuzz
