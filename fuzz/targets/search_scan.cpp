// The offline search scan over any page and search text: the answer must not
// depend on how the page is cut into chunks, and reading the page from a file
// must give the same answer as reading it from memory, with the search text
// written in the charset the page's start declares.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "core/platform/text.h"
#include "core/search/page_scan.h"
#include "core/web/charset.h"
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
    SearchWord word(Latin1ToUtf8(search));
    const std::optional<std::string>& bytes = word.In(CharsetFromMeta(page.substr(0, 8192)));
    std::istringstream again(page);
    FUZZ_CHECK(PageContains(path, word) == (bytes && TextContains(again, *bytes)));
    return 0;
}
