// The hash index reader over any bytes taken as FAT.DB, with every file name
// the records give answered as present, so the whole record path runs.
#include <cstddef>
#include <cstdint>

#include "core/cache/netscape_readers.h"
#include "fuzz/targets/entry_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    static const CacheFolder folder = CacheFolder::AnsweringEveryName("/nonexistent-cache/");
    NullProgress progress;
    CacheEntryList entries;
    ReadHashIndex(std::string_view(reinterpret_cast<const char*>(data), size), folder, entries, progress);
    fuzz::CheckEntries(entries);
    return 0;
}
