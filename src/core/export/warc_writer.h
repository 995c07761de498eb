#pragma once
// Writes WARC 1.1 records, each as its own gzip member, so a reader can seek
// to any record by the member's offset (what archive indexes store).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/platform/file_system.h"

namespace restash {

using WarcFields = std::vector<std::pair<std::string, std::string>>;

// Where a record's gzip member lies in the file.
struct WarcPlacement {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// Hands a record's block over in pieces; the writer passes each piece on.
using BlockSource = std::function<void(const std::function<void(std::string_view)>& piece)>;

class WarcWriter {
public:
    explicit WarcWriter(OutputFile& out) : out_(out) {}

    // One record: "WARC/1.1", the header fields in the order given, a
    // Content-Length of blockLength, the block and the closing CR LF CR LF.
    // Field values lose any control character, so no value can end its line
    // early and add a field of its own. source must hand over exactly
    // blockLength bytes; a FileError is thrown otherwise.
    WarcPlacement Write(const WarcFields& fields, std::uint64_t blockLength, const BlockSource& source);
    WarcPlacement Write(const WarcFields& fields, std::string_view block);

    // Bytes written so far.
    std::uint64_t Size() const { return size_; }

private:
    OutputFile& out_;
    std::uint64_t size_ = 0;
};

// A WARC-Record-ID made from a name: "<urn:uuid:...>" with the UUID that
// version 5 UUIDs take from the SHA-1 of the name, so the same export gives
// the same identifiers.
std::string RecordIdFor(std::string_view name);

// A block of application/warc-fields: "name: value" lines ending in CR LF.
std::string WarcFieldsBlock(const WarcFields& fields);

// "sha1:" and the base32 SHA-1 of bytes.
std::string Sha1Label(std::string_view bytes);

}  // namespace restash
