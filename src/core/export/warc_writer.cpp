#include "core/export/warc_writer.h"

#include <zlib.h>

#include <cstdio>

#include "core/export/digest_text.h"
#include "core/export/sha1.h"
#include "core/platform/error.h"

namespace restash {
namespace {

constexpr std::size_t kOutChunk = 64 * 1024;

// One gzip member, compressed as the bytes arrive.
class GzipMember {
public:
    explicit GzipMember(OutputFile& out) : out_(out) {
        // 15 + 16: a gzip wrapper rather than a zlib one.
        if (deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw FileError(out_.Path(), "Cannot start compression");
    }
    ~GzipMember() { deflateEnd(&z_); }
    GzipMember(const GzipMember&) = delete;
    GzipMember& operator=(const GzipMember&) = delete;

    void Add(std::string_view bytes) {
        // zlib counts in 32-bit lengths: hand over large pieces in parts.
        while (!bytes.empty()) {
            const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
            z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
            z_.avail_in = static_cast<uInt>(n);
            Run(Z_NO_FLUSH);
            bytes.remove_prefix(n);
        }
    }
    // Ends the member; returns its compressed length.
    std::uint64_t Finish() {
        z_.next_in = nullptr;
        z_.avail_in = 0;
        Run(Z_FINISH);
        return written_;
    }

private:
    void Run(int flush) {
        char buffer[kOutChunk];
        int status;
        do {
            z_.next_out = reinterpret_cast<Bytef*>(buffer);
            z_.avail_out = sizeof buffer;
            status = deflate(&z_, flush);
            if (status == Z_STREAM_ERROR) throw FileError(out_.Path(), "Compression failed");
            const std::size_t produced = sizeof buffer - z_.avail_out;
            out_.Write(std::string_view(buffer, produced));
            written_ += produced;
        } while (z_.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    }

    OutputFile& out_;
    z_stream z_{};
    std::uint64_t written_ = 0;
};

std::string CleanValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        out += (c < 0x20 || c == 0x7F) ? ' ' : ch;
    }
    return out;
}

}  // namespace

WarcPlacement WarcWriter::Write(const WarcFields& fields, std::uint64_t blockLength, const BlockSource& source) {
    std::string head = "WARC/1.1\r\n";
    for (const auto& [name, value] : fields) head += name + ": " + CleanValue(value) + "\r\n";
    head += "Content-Length: " + std::to_string(blockLength) + "\r\n\r\n";

    GzipMember member(out_);
    member.Add(head);
    std::uint64_t given = 0;
    source([&](std::string_view piece) {
        given += piece.size();
        if (given > blockLength) return;
        member.Add(piece);
    });
    if (given != blockLength)
        throw FileError(out_.Path(), "A record's content changed size while it was written (" +
                                         std::to_string(given) + " bytes instead of " +
                                         std::to_string(blockLength) + ")");
    member.Add("\r\n\r\n");
    const WarcPlacement placement{size_, member.Finish()};
    size_ += placement.length;
    return placement;
}

WarcPlacement WarcWriter::Write(const WarcFields& fields, std::string_view block) {
    return Write(fields, block.size(), [block](const auto& piece) { piece(block); });
}

std::string RecordIdFor(std::string_view name) {
    Sha1 sha;
    sha.Update(name);
    Sha1::Digest d = sha.Final();
    d[6] = static_cast<std::uint8_t>((d[6] & 0x0F) | 0x50);  // version 5
    d[8] = static_cast<std::uint8_t>((d[8] & 0x3F) | 0x80);  // RFC 4122 variant
    const std::string hex = Hex(std::span<const std::uint8_t>(d.data(), 16));
    return "<urn:uuid:" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20, 12) + ">";
}

std::string WarcFieldsBlock(const WarcFields& fields) {
    std::string block;
    for (const auto& [name, value] : fields) block += name + ": " + CleanValue(value) + "\r\n";
    return block;
}

std::string Sha1Label(std::string_view bytes) {
    Sha1 sha;
    sha.Update(bytes);
    return "sha1:" + Base32(sha.Final());
}

}  // namespace restash
