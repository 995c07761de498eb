// The text index reader over any bytes, every file name answered as present.
// A line whose time stamp is not a number ends the read with an Error naming
// the file; anything else thrown is a fault.
#include <cstddef>
#include <cstdint>

#include "core/cache/netscape_readers.h"
#include "core/platform/error.h"
#include "fuzz/targets/entry_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    static const CacheFolder folder = CacheFolder::AnsweringEveryName("/nonexistent-cache/");
    NullProgress progress;
    CacheEntryList entries;
    try {
        ReadTextIndex(std::string_view(reinterpret_cast<const char*>(data), size), "FAT", folder, entries,
                      progress);
    } catch (const Error& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("FAT: line "));
    }
    fuzz::CheckEntries(entries);
    return 0;
}
