// The text index reader over any bytes, every file name answered as present.
// A line whose time stamp is not a number ends the read with an Error naming
// the file; anything else thrown is a fault. Address and type are whole
// fields, so they never hold a byte that separates fields.
#include <cstddef>
#include <cstdint>

#include "core/cache/netscape_readers.h"
#include "core/cache/text_lines.h"
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
    for (const CacheEntry& e : entries) {
        for (const char c : e.Url) FUZZ_CHECK(IsFieldByte(c));
        for (const char c : e.MimeType) FUZZ_CHECK(IsFieldByte(c));
    }
    return 0;
}
