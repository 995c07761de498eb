#include "core/export/cdxj.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/export/archive_uri.h"
#include "core/export/json_text.h"
#include "core/export/utc_time.h"

namespace restash {

std::string CdxjLine(const CdxjRecord& r) {
    // Lengths and offsets as strings, as the replay tools' own indexer writes them.
    return SurtKey(r.uri) + " " + Timestamp14(r.stamp) + " {\"url\": " + JsonString(r.uri) +
           ", \"mime\": " + JsonString(r.mime) +
           (r.status.empty() ? "" : ", \"status\": \"" + r.status + "\"") +
           ", \"digest\": " + JsonString(r.digest) + ", \"length\": \"" + std::to_string(r.placement.length) +
           "\", \"offset\": \"" + std::to_string(r.placement.offset) +
           "\", \"filename\": " + JsonString(r.fileName) + "}";
}

void WriteSortedCdxj(std::size_t count, const std::function<CdxjRecord(std::size_t)>& record, OutputFile& out) {
    // Sorting by key, then time stamp, then the whole line gives byte order:
    // a key holds no space or control byte, so where one key is the start of
    // another, the space after it sorts first, as the shorter key does; and
    // 14-digit time stamps sort as the seconds they stand for.
    struct Key {
        std::string surt;
        std::int32_t stamp;
    };
    std::vector<Key> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const CdxjRecord r = record(i);
        keys.push_back({SurtKey(r.uri), r.stamp});
    }
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = keys[a].surt.compare(keys[b].surt); c != 0) return c < 0;
        if (keys[a].stamp != keys[b].stamp) return keys[a].stamp < keys[b].stamp;
        return CdxjLine(record(a)) < CdxjLine(record(b));
    });
    keys.clear();
    keys.shrink_to_fit();
    for (const std::size_t i : order) out.Write(CdxjLine(record(i)) + "\n");
}

}  // namespace restash
