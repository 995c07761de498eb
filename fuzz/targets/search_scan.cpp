// The offline search scan over any page and search text: the answer must not
// depend on how the page is cut into chunks, and reading the page from a file
// must give the same answer as reading it from memory.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/platform/text.h"
#include "core/search/page_scan.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    fuzz::FuzzInput input(data, size);
    const std::size_t chunk = 1 + input.Byte() % 64;
    const std::string search = ToUpperAscii(input.Bytes(input.Byte() % 32));
    const std::string page(input.Rest());

    std::istringstream whole(page);
    const bool found = TextContains(whole, search);
    std::istringstream pieces(page);
    FUZZ_CHECK(TextContains(pieces, search, chunk) == found);

    const std::string path = fuzz::ScratchFile("PAGE.HTM");
    fuzz::WriteScratch(path, page);
    FUZZ_CHECK(PageContains(path, search) == found);
    return 0;
}
