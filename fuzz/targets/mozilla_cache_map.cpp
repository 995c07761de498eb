// _CACHE_MAP_ over any bytes. Whatever is read, taking each record of a sound
// map out again leaves a sound map with one entry fewer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/cache/mozilla/cache_map.h"
#include "core/cache/mozilla/map_edit.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash::mozilla;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const CacheMap map = ParseCacheMap(bytes);
    FUZZ_CHECK(map.records.size() <= map.recordCount);
    if (!map.damage.empty() || map.records.size() > 64) return 0;
    std::size_t left = map.records.size();
    for (const MapRecord& record : map.records) {
        const CacheMap now = ParseCacheMap(bytes);
        FUZZ_CHECK(RemoveMapRecord(bytes, now, record));
        --left;
        const CacheMap after = ParseCacheMap(bytes);
        FUZZ_CHECK(after.damage.empty());
        FUZZ_CHECK(after.records.size() == left);
    }
    return 0;
}
