#pragma once
// Decoding a stored body for the browsable copy, the search and the link
// converter: Content-Encoding gzip, deflate (zlib-wrapped or raw) and, when
// the program was built with the brotli library, br. The web-archive export
// keeps the stored bytes and does not use this.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace restash {

enum class ContentCoding { Identity, Gzip, Deflate, Brotli, Unsupported };

// The coding a Content-Encoding value names: "" and "identity" give
// Identity; "gzip"/"x-gzip", "deflate", "br" their codings (any case); a list
// of several codings, or any other name, Unsupported.
ContentCoding CodingOf(std::string_view contentEncoding);

// Whether br bodies can be decoded by this build.
bool BrotliSupported();

// A decoder fed the stored bytes piece by piece, so bodies of any size pass
// through it; it never needs the whole body at once.
class BodyDecoder {
   public:
    // Identity passes bytes through; Unsupported (and Brotli without the
    // library) fails on the first byte fed.
    explicit BodyDecoder(ContentCoding coding);
    ~BodyDecoder();
    BodyDecoder(const BodyDecoder&) = delete;
    BodyDecoder& operator=(const BodyDecoder&) = delete;

    // Decodes the next stored bytes and appends what they decode to out.
    // False, with Problem() saying why, when they are not of the coding;
    // every later call then fails too.
    bool Feed(std::string_view stored, std::string& out);
    // After the last Feed: false when the coded stream ended early (what
    // was decoded has been handed out) or was never a stream of the coding.
    bool Finish();
    const std::string& Problem() const { return problem_; }

   private:
    bool Fail(std::string problem);
    bool FeedZlib(std::string_view stored, std::string& out);
    bool FeedBrotli(std::string_view stored, std::string& out);

    struct State;
    ContentCoding coding_;
    std::unique_ptr<State> state_;
    std::string problem_;
    bool failed_ = false;
};

enum class DecodeStatus {
    Decoded,    // bytes is the whole decoded body
    Truncated,  // the coded stream ends early: bytes is what it held
    Failed,     // not of the coding (or too large): copy the body as stored
};

struct DecodedBody {
    DecodeStatus status = DecodeStatus::Failed;
    std::string bytes;
    std::string problem;  // why it is not Decoded, in a few words
};

// Decodes a whole stored body held in memory; a result that would pass
// maxBytes fails (guarding against small bodies that decode to gigabytes).
DecodedBody DecodeBody(std::string_view stored, ContentCoding coding,
                       std::size_t maxBytes = std::size_t{256} << 20);

}  // namespace restash
