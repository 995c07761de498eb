#pragma once
// Entries and a ready model for the selection tests.
#include <cstdint>
#include <string>

#include "core/selection/selection_model.h"
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

// A model shown for format at a fixed moment and loaded with entries.
struct ModelFixture {
    RecordingMessages messages;
    RecordingProgress progress;
    SelectionModel model{messages, progress};

    static constexpr std::int64_t kClock = 900000000;  // July 1998

    explicit ModelFixture(const CacheEntryList& entries, IndexFormat format = IndexFormat::TextIndex) {
        model.FormShow(format, FixedClock(kClock), 0);
        bool pending = true;
        model.FormPaint(pending, [entries](CacheEntryList& out) { out = entries; });
    }
};

}  // namespace restash::test
