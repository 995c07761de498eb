#include "core/cache/body_decoding.h"

#include <zlib.h>

#ifdef RESTASH_HAVE_BROTLI
#include <brotli/decode.h>
#endif

#include "core/platform/text.h"

namespace restash {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Whether two bytes start a zlib stream (RFC 1950: deflate method, a valid check value).
bool LooksLikeZlib(unsigned char cmf, unsigned char flg) {
    return (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && ((cmf << 8) | flg) % 31 == 0;
}

}  // namespace

struct BodyDecoder::State {
    z_stream zs{};
    bool zlibOpen = false;
    bool ended = false;   // the coded stream's end was seen
    std::string pending;  // deflate: the first byte, until the wrapper is known
#ifdef RESTASH_HAVE_BROTLI
    BrotliDecoderState* brotli = nullptr;
#endif
    ~State() {
        if (zlibOpen) inflateEnd(&zs);
#ifdef RESTASH_HAVE_BROTLI
        if (brotli) BrotliDecoderDestroyInstance(brotli);
#endif
    }
};

ContentCoding CodingOf(std::string_view contentEncoding) {
    const std::string_view value = TrimSpaces(contentEncoding);
    if (value.empty() || EqualsNoCase(value, "identity")) return ContentCoding::Identity;
    if (EqualsNoCase(value, "gzip") || EqualsNoCase(value, "x-gzip")) return ContentCoding::Gzip;
    if (EqualsNoCase(value, "deflate")) return ContentCoding::Deflate;
    if (EqualsNoCase(value, "br")) return ContentCoding::Brotli;
    return ContentCoding::Unsupported;
}

bool BrotliSupported() {
#ifdef RESTASH_HAVE_BROTLI
    return true;
#else
    return false;
#endif
}

BodyDecoder::BodyDecoder(ContentCoding coding) : coding_(coding), state_(std::make_unique<State>()) {}

BodyDecoder::~BodyDecoder() = default;

bool BodyDecoder::Fail(std::string problem) {
    if (!failed_) problem_ = std::move(problem);
    failed_ = true;
    return false;
}

bool BodyDecoder::Feed(std::string_view stored, std::string& out) {
    if (failed_) return false;
    if (stored.empty()) return true;
    switch (coding_) {
        case ContentCoding::Identity:
            out.append(stored);
            return true;
        case ContentCoding::Gzip:
        case ContentCoding::Deflate:
            return FeedZlib(stored, out);
        case ContentCoding::Brotli:
            return FeedBrotli(stored, out);
        case ContentCoding::Unsupported:
            break;
    }
    return Fail("the content coding is not one Restash can decode");
}

bool BodyDecoder::FeedZlib(std::string_view stored, std::string& out) {
    State& s = *state_;
    if (s.ended) return true;  // bytes after the end of the stream are ignored, as browsers do
    std::string joined;
    if (!s.zlibOpen) {
        int windowBits = 16 + MAX_WBITS;  // gzip wrapper
        if (coding_ == ContentCoding::Deflate) {
            if (s.pending.size() + stored.size() < 2) {
                s.pending.append(stored);
                return true;
            }
            joined = s.pending + std::string(stored);
            stored = joined;
            const bool zlib =
                LooksLikeZlib(static_cast<unsigned char>(stored[0]), static_cast<unsigned char>(stored[1]));
            windowBits = zlib ? MAX_WBITS : -MAX_WBITS;  // servers sent both forms as "deflate"
        }
        if (inflateInit2(&s.zs, windowBits) != Z_OK) return Fail("zlib could not start");
        s.zlibOpen = true;
    }
    s.zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data()));
    s.zs.avail_in = static_cast<uInt>(stored.size());
    char buffer[kChunk];
    while (s.zs.avail_in > 0) {
        s.zs.next_out = reinterpret_cast<Bytef*>(buffer);
        s.zs.avail_out = sizeof buffer;
        const int rc = inflate(&s.zs, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - s.zs.avail_out);
        if (rc == Z_STREAM_END) {
            // A gzip body may hold several members one after another.
            const bool another = coding_ == ContentCoding::Gzip && s.zs.avail_in >= 2 &&
                                 s.zs.next_in[0] == 0x1f && s.zs.next_in[1] == 0x8b;
            if (!another) {
                s.ended = true;
                return true;
            }
            inflateReset(&s.zs);
        } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
            return Fail(std::string(coding_ == ContentCoding::Gzip ? "not gzip data" : "not deflate data") +
                        (s.zs.msg ? std::string(" (") + s.zs.msg + ")" : std::string()));
        } else if (rc == Z_BUF_ERROR && s.zs.avail_out != 0) {
            break;
        }
    }
    return true;
}

bool BodyDecoder::FeedBrotli(std::string_view stored, std::string& out) {
#ifdef RESTASH_HAVE_BROTLI
    State& s = *state_;
    if (s.ended) return true;
    if (!s.brotli) s.brotli = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
    if (!s.brotli) return Fail("the brotli decoder could not start");
    std::size_t inLeft = stored.size();
    const auto* in = reinterpret_cast<const std::uint8_t*>(stored.data());
    std::uint8_t buffer[kChunk];
    for (;;) {
        std::size_t outLeft = sizeof buffer;
        std::uint8_t* to = buffer;
        const BrotliDecoderResult rc =
            BrotliDecoderDecompressStream(s.brotli, &inLeft, &in, &outLeft, &to, nullptr);
        out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - outLeft);
        if (rc == BROTLI_DECODER_RESULT_SUCCESS) {
            s.ended = true;
            return true;
        }
        if (rc == BROTLI_DECODER_RESULT_ERROR)
            return Fail(std::string("not brotli data (") +
                        BrotliDecoderErrorString(BrotliDecoderGetErrorCode(s.brotli)) + ")");
        if (rc == BROTLI_DECODER_RESULT_NEEDS_MORE_INPUT) return true;
    }
#else
    (void)stored;
    (void)out;
    return Fail("this build of Restash cannot decode brotli (br) bodies");
#endif
}

bool BodyDecoder::Finish() {
    if (failed_) return false;
    if (coding_ == ContentCoding::Identity) return true;
    if (coding_ == ContentCoding::Deflate && !state_->zlibOpen && !state_->pending.empty())
        return Fail("not deflate data (one byte)");
    if (state_->ended) return true;
    return Fail("the compressed data ends early");
}

DecodedBody DecodeBody(std::string_view stored, ContentCoding coding, std::size_t maxBytes) {
    DecodedBody result;
    if (stored.empty()) {  // no body: nothing to decode, whatever the head says
        result.status = DecodeStatus::Decoded;
        return result;
    }
    BodyDecoder decoder(coding);
    for (std::size_t at = 0; at < stored.size(); at += kChunk) {
        if (!decoder.Feed(stored.substr(at, kChunk), result.bytes)) {
            result.problem = decoder.Problem();
            result.bytes.clear();
            return result;
        }
        if (result.bytes.size() > maxBytes) {
            result.problem = "the decoded body is larger than " + std::to_string(maxBytes >> 20) + " MB";
            result.bytes.clear();
            return result;
        }
    }
    if (decoder.Finish()) {
        result.status = DecodeStatus::Decoded;
    } else {
        result.problem = decoder.Problem();
        result.status = result.bytes.empty() ? DecodeStatus::Failed : DecodeStatus::Truncated;
        if (result.status == DecodeStatus::Failed) result.bytes.clear();
    }
    return result;
}

}  // namespace restash
