// A cache2 entry file over any bytes: its metadata found from its last four
// bytes, its key taken apart; the body always lies before the metadata.
#include <cstddef>
#include <cstdint>

#include "core/cache/cache2/cache2_cache.h"
#include "core/cache/cache2/cache2_key.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    static const std::string path = fuzz::ScratchFile("cache2-entry");
    fuzz::WriteScratch(path, std::string_view(reinterpret_cast<const char*>(data), size));
    cache2::Cache2Entry entry;
    std::string problem;
    if (!cache2::ReadCache2Entry(path, "entries/X", entry, problem)) {
        FUZZ_CHECK(!problem.empty());
        return 0;
    }
    FUZZ_CHECK(entry.entry.body.offset + entry.entry.body.length <= size);
    FUZZ_CHECK(entry.version >= 1 && entry.version <= 3);
    const cache2::Cache2Key key = cache2::SplitCache2Key(entry.entry.key);
    FUZZ_CHECK(key.address.size() <= entry.entry.key.size());
    FUZZ_CHECK(ToCacheEntry(entry.entry).Domain.size() <= 50);
    return 0;
}
