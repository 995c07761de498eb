// A whole disk cache folder made of the input: a map and three block files
// (their lengths taken off the front), read through the map or, when it is
// damaged, by searching the block files. Every body the reader gives lies
// inside its file.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/cache/mozilla/disk_cache.h"
#include "core/cache/stored_body.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    static const std::string folder = [] {
        const std::string f = fuzz::ScratchFile("mozilla-cache/");
        ::mkdir(f.c_str(), 0700);
        return f;
    }();
    fuzz::FuzzInput input(data, size);
    const char* names[] = {"_CACHE_MAP_", "_CACHE_001_", "_CACHE_002_", "_CACHE_003_"};
    for (int i = 0; i < 4; ++i) {
        const std::size_t length = input.Byte() * std::size_t{256} + input.Byte();
        const std::string path = folder + names[i];
        if (i == 0 && length == 0)
            std::remove(path.c_str());
        else
            fuzz::WriteScratch(path, input.Bytes(i == 3 ? input.Rest().size() : length));
    }
    NullProgress progress;
    const mozilla::DiskCache cache = mozilla::ReadDiskCache(folder, progress);
    for (const auto& e : cache.entries) {
        const std::string body = ReadStoredBodyBytes(e.entry.body, 1 << 20);
        FUZZ_CHECK(body.size() <= e.entry.body.length);
        FUZZ_CHECK(ToCacheEntry(e.entry).MimeType.size() <= 50);
    }
    return 0;
}
