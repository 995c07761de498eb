#pragma once
// Entries and a loaded selection for the selection tests.
#include <cstdint>
#include <memory>
#include <string>

#include "core/selection/cache_selection.h"
#include "tests/support/memory_cache.h"
#include "tests/support/recorders.h"

namespace restash::test {

inline CacheEntry Entry(std::string domain, std::int32_t stamp, Category category = Category::Text) {
    CacheEntry e;
    e.Stamp = stamp;
    e.Domain = domain;
    e.Url = "http://" + domain + "/";
    e.Body.Name = "M" + std::to_string(stamp) + ".HTM";
    e.category = category;
    return e;
}

// A cache in memory holding exactly entries, every body there.
inline std::shared_ptr<MemoryCache> CacheOf(const CacheEntryList& entries, IndexFormat format) {
    auto cache = std::make_shared<MemoryCache>(entries, format);
    for (const CacheEntry& e : entries) cache->bodies[e.Body.Name] = "";
    return cache;
}

// A selection reset for format at a fixed moment and loaded with entries.
struct SelectionFixture {
    RecordingProgress progress;
    CacheSelection state{progress};

    static constexpr std::int64_t kClock = 900000000;  // July 1998

    explicit SelectionFixture(const CacheEntryList& entries, IndexFormat format = IndexFormat::TextIndex) {
        state.Reset(NetscapeTraits(format), FixedClock(kClock), 0);
        state.Load(CacheOf(entries, format));
    }
};

}  // namespace restash::test
