// Characters of pages over any bytes: a charset named by a META tag or a
// head, any bytes read in it, the titles an index page writes, and a stored
// response head as a record's head.
//   - Whatever the bytes and the charset, ToUtf8 gives well-formed UTF-8.
//   - A title an index page writes without declaring UTF-8 reads back as the
//     same text in windows-1252.
//   - The record's head holds no Transfer-Encoding header and ends with the
//     blank line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/export/response_head.h"
#include "core/index/title_charset.h"
#include "core/platform/text.h"
#include "core/web/charset.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    fuzz::FuzzInput input(data, size);
    const std::string_view tag = input.Bytes(input.Byte() % 64);
    const std::string_view bytes = input.Rest();

    // The charset a tag declares never carries the tag's end into a META line.
    const std::string charset = CharsetOfMetaTag(tag);
    FUZZ_CHECK(charset.find('>') == std::string::npos);
    const std::string utf8 = ToUtf8(bytes, charset.empty() ? CharsetFromMeta(bytes) : charset);
    FUZZ_CHECK(IsValidUtf8(utf8));

    const TitleCharset titles({utf8});
    const std::string written = titles.Text(utf8);
    if (!titles.Declared()) FUZZ_CHECK(ToUtf8(written, "windows-1252") == utf8);
    const std::string shown = titles.Shown(utf8, 40, 37);
    FUZZ_CHECK(titles.Declared() ? IsValidUtf8(shown) : Utf8ToWindows1252(ToUtf8(shown, "windows-1252")).has_value());

    const std::string head = ResponseBlockHead(bytes);
    FUZZ_CHECK(head.ends_with("\n\r\n") || head.ends_with("\n\n"));
    for (std::size_t at = 0; at < head.size(); at = head.find('\n', at) + 1) {
        FUZZ_CHECK(!StartsWithNoCase(std::string_view(head).substr(at), "Transfer-Encoding:"));
        if (head.find('\n', at) == std::string::npos) break;
    }
    return 0;
}
