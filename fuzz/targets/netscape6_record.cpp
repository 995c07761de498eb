// A Netscape 6.0 cache record and its metadata over any bytes.
#include "core/cache/netscape6/netscape6_record.h"

#include <cstddef>
#include <cstdint>

#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash::netscape6;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto record = ParseCacheRecord(bytes)) {
        FUZZ_CHECK(record->key.size() + record->metadata.size() + record->fileUrl.size() <= size);
        if (const auto m = ParseCacheMetadata(record->metadata))
            for (const auto& [tag, value] : m->annotations) FUZZ_CHECK(!tag.empty());
    }
    if (const auto m = ParseCacheMetadata(bytes)) FUZZ_CHECK(m->annotations.size() <= size / 5);
    return 0;
}
