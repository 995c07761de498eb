#include "core/cache/hash_page_walk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "core/cache/hash_record.h"

namespace restash {
namespace {

// One page, with the walk's rules for reading it: positions are 16-bit and
// wrap, a 16-bit read above 16,381 and a 32-bit read above 16,379 give 0,
// and text bytes outside the page are not taken.
class WalkPage {
public:
    explicit WalkPage(std::string_view bytes) {
        // A short last page is filled up with zeros.
        bytes_.fill(0);
        std::memcpy(bytes_.data(), bytes.data(), std::min(bytes.size(), bytes_.size()));
    }

    std::uint16_t U16(std::uint16_t at) const {
        if (at > kWalkPageSize - 3) return 0;
        return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8);
    }
    std::uint32_t U32(std::uint16_t at) const {
        if (at > kWalkPageSize - 5) return 0;
        return Byte(at) | Byte(at + 1) << 8 | Byte(at + 2) << 16 | std::uint32_t{Byte(at + 3)} << 24;
    }
    // length - 1 bytes from at, as a counted text with its terminating zero.
    std::string Text(std::uint16_t at, std::uint16_t length) const {
        std::string out;
        for (std::uint16_t i = 0; i + 1 < length; ++i) {
            const auto pos = static_cast<std::uint16_t>(at + i);
            if (pos < kWalkPageSize) out.push_back(static_cast<char>(bytes_[pos]));
        }
        return out;
    }
    std::string_view Window(std::uint16_t from, std::size_t length) const {
        if (from >= kWalkPageSize) return {};
        const std::size_t n = std::min(length, kWalkPageSize - from);
        return {reinterpret_cast<const char*>(bytes_.data()) + from, n};
    }

private:
    std::uint32_t Byte(std::size_t at) const { return bytes_[at]; }
    std::array<std::uint8_t, kWalkPageSize> bytes_;
};

std::uint16_t Add(std::uint32_t a, std::uint32_t b) { return static_cast<std::uint16_t>(a + b); }

// The start of the data area: the scan runs down the decreasing pair
// offsets and the free-space word and stops at the data-start word that
// repeats the lowest offset. Nothing when the scan runs off the page.
std::optional<std::uint16_t> DataStart(const WalkPage& page) {
    constexpr std::uint16_t kLastWordAt = kWalkPageSize - 3;
    std::uint16_t last = 65535;
    std::uint16_t prev = 65535;
    std::uint16_t p = 4;
    std::uint16_t v = page.U16(p);
    do {
        while (last > v) {
            prev = last;
            last = v;
            p = Add(p, 2);
            if (p > kLastWordAt) return std::nullopt;
            v = page.U16(p);
        }
        if (v != prev) {
            p = Add(p, 4);
            if (p > kLastWordAt) return std::nullopt;
            v = page.U16(p);
        }
    } while (v != prev);
    return Add(Add(last, p), 2);
}

// Netscape's bookkeeping records sit at the start of the data area after a
// normal shutdown; the walk starts after the one whose name ends furthest in.
std::uint16_t StepOverBookkeeping(const WalkPage& page, std::uint16_t d) {
    static constexpr std::string_view kNames[] = {"INT_ExternalCacheNameString", "INT_DiskCacheNumber",
                                                  "INT_DiskCacheSize"};
    const std::string_view window = page.Window(d, 101);
    std::size_t furthest = 0;
    for (std::string_view name : kNames) {
        const std::size_t at = window.find(name);
        if (at != std::string_view::npos) furthest = std::max(furthest, at + name.size());
    }
    return Add(d, static_cast<std::uint32_t>(furthest));
}

// Decodes the entry at s and returns where the next one starts.
std::uint16_t DecodeAt(const WalkPage& page, std::uint16_t s, IndexRecord& r) {
    const std::uint16_t k = Add(Add(s, page.U16(s)), 4);
    r.Stamp = static_cast<std::int32_t>(page.U32(Add(s, 12)));
    const std::uint16_t b = page.U16(Add(s, 29));
    if (b < 50) r.Body.Name = page.Text(Add(s, 33), b);
    const std::uint16_t c = page.U16(Add(Add(s, b), 62));
    const std::uint16_t t = Add(Add(Add(s, b), c), 66);
    const std::uint16_t m = page.U16(t);
    if (m < 100) r.MimeType = page.Text(Add(t, 4), m);
    const std::uint16_t e = page.U16(k);
    if (e < 512) r.Url = page.Text(Add(k, 4), e);
    const std::uint16_t f = page.U16(Add(Add(k, e), 4));
    return Add(Add(Add(k, e), f), 8);
}

void WalkPageEntries(const WalkPage& page, const CacheFolder& folder, CacheEntryList& entries,
                     const ReadOptions& options) {
    const std::uint16_t n = page.U16(0);
    if (n == 0 || n >= kWalkPageSize) return;
    const auto dataStart = DataStart(page);
    if (!dataStart) return;
    std::uint16_t s = StepOverBookkeeping(page, *dataStart);
    for (int decoded = 0; s < kWalkPageSize && decoded < kWalkEntriesPerPage; ++decoded) {
        IndexRecord record;
        s = DecodeAt(page, s, record);
        AcceptRecord(std::move(record), folder, entries, options);
    }
}

}  // namespace

Ending WalkHashPages(std::string_view file, const CacheFolder& folder, CacheEntryList& entries,
                     ProgressSink& progress, const ReadOptions& options) {
    // Page 0 holds the database header and yields no entries.
    for (std::size_t at = kWalkPageSize; at < file.size(); at += kWalkPageSize) {
        // Every page is a point where the window may deliver pending input,
        // empty ones too, so a file of empty pages does not freeze it.
        if (!progress.ProcessMessages()) return Ending::Stopped;
        WalkPageEntries(WalkPage(file.substr(at, kWalkPageSize)), folder, entries, options);
    }
    return Ending::Finished;
}

}  // namespace restash
