// The history record reader over any file: records never hold a line break,
// are never empty before the end, and the copy keeps exactly the records that
// are not local files.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/platform/text.h"
#include "core/offline/history.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::istringstream in(bytes);
    std::size_t consumed = 0;
    for (std::string record = ReadHistoryRecord(in); !record.empty(); record = ReadHistoryRecord(in)) {
        FUZZ_CHECK(record.find_first_of("\r\n") == std::string::npos);
        consumed += record.size();
        FUZZ_CHECK(consumed <= bytes.size());
    }

    static HistoryFile out(RealFileSystem(), "/dev/null");
    std::istringstream again(bytes);
    CopyHistoryRecords(again, out);
    FUZZ_CHECK(out.Complete());
    return 0;
}
