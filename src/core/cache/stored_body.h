#pragma once
// Where a Mozilla-family cache keeps an entry's body, and reading it as
// stored or decoded, in pieces, so bodies of any size stream through.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/cache/body_decoding.h"

namespace restash {

struct BodyLocation {
    enum class Kind {
        None,          // the entry has no body (a redirect, an empty response)
        BlockRun,      // Mozilla: blocks of _CACHE_001_ to _CACHE_003_
        SeparateFile,  // Mozilla: a data file of its own (XXXXXXXXd01, X/XX/XXXXXd01)
        EntryFile,     // cache2 and Netscape 6.0: the start of the entry's own file
    };
    Kind kind = Kind::None;
    std::string path;          // the file on disk; empty when it is missing
    std::string relativePath;  // the file's name within the cache folder, as the record gives it
    std::uint64_t offset = 0;  // where the body starts in the file
    std::uint64_t length = 0;  // how many bytes of the file are the body
    // BlockRun only: which block file (1 to 3), its first block and their number.
    int blockFile = 0;
    std::uint32_t firstBlock = 0;
    std::uint32_t blockCount = 0;

    bool Missing() const { return kind != Kind::None && path.empty(); }
};

// Pieces handed to a sink; returning false stops the read.
using BodySink = std::function<bool(std::string_view)>;

// Feeds the stored bytes of the body to sink in pieces of at most 64 KB and
// returns how many it fed; a file that ends early gives what it holds. Throws
// FileError naming the file when it cannot be opened or read. A body of kind
// None or a missing one feeds nothing.
std::uint64_t ReadStoredBody(const BodyLocation& body, const BodySink& sink);

// The stored bytes, at most maxBytes of them.
std::string ReadStoredBodyBytes(const BodyLocation& body, std::uint64_t maxBytes = UINT64_MAX);

// Decoded bodies larger than this are taken for a decompression bomb: Failed.
inline constexpr std::uint64_t kMaxDecodedBody = std::uint64_t{1} << 30;

// Decodes the stored pieces feed hands to the sink it is given (feed stops
// when that sink returns false) and passes what they decode to sink, with
// the statuses of ReadDecodedBody below.
DecodeStatus DecodePieces(ContentCoding coding, const std::function<void(const BodySink&)>& feed,
                          const BodySink& sink, std::string* problem = nullptr);

// Feeds the decoded body to sink. Decoded when the whole body decoded,
// Truncated when the coded stream ends early (sink had what there was),
// Failed when it is not of the coding: the sink may have had part of it, so
// the caller copies the stored body instead. problem says why.
DecodeStatus ReadDecodedBody(const BodyLocation& body, ContentCoding coding, const BodySink& sink,
                             std::string* problem = nullptr);

}  // namespace restash
