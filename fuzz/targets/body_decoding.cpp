// A stored body over any bytes, decoded whole and in pieces of a size the
// input picks: whatever the whole decoding gives, the pieces give too. The decoded start is searched for
// a charset as the page pass would.
#include "core/cache/body_decoding.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/web/charset.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    fuzz::FuzzInput input(data, size);
    const ContentCoding coding = static_cast<ContentCoding>(input.Byte() % 5);
    const std::size_t piece = input.Byte() % 64 + 1;
    const std::string_view stored = input.Rest();
    const DecodedBody whole = DecodeBody(stored, coding, 1 << 22);
    BodyDecoder decoder(coding);
    std::string pieces;
    bool ok = true;
    for (std::size_t at = 0; ok && at < stored.size() && pieces.size() <= (1u << 22); at += piece)
        ok = decoder.Feed(stored.substr(at, piece), pieces);
    if (whole.status != DecodeStatus::Failed && !stored.empty()) {
        FUZZ_CHECK(ok);
        FUZZ_CHECK(decoder.Finish() == (whole.status == DecodeStatus::Decoded));
        FUZZ_CHECK(pieces == whole.bytes);
    }
    const std::string charset = CharsetFromMeta(whole.bytes);
    FUZZ_CHECK(charset.find('>') == std::string::npos);
    return 0;
}
