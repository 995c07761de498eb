#include "core/cache/browsable_body.h"

namespace restash {
namespace {

constexpr std::size_t kPiece = 64 * 1024;

// Reads the stored body in pieces until sink says to stop.
void FeedStored(const EntryBody& body, const BodySink& sink) {
    const std::unique_ptr<std::streambuf> in = body.Open();
    std::string buffer(kPiece, '\0');
    while (true) {
        const std::streamsize n = in->sgetn(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (n <= 0 || !sink(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) break;
    }
}

// Decodes a stored stream as it is read.
class DecodingBuffer final : public std::streambuf {
public:
    DecodingBuffer(std::unique_ptr<std::streambuf> stored, ContentCoding coding)
        : stored_(std::move(stored)), decoder_(coding), in_(kPiece, '\0') {}

protected:
    int_type underflow() override {
        while (!done_) {
            out_.clear();
            const std::streamsize n = stored_->sgetn(in_.data(), static_cast<std::streamsize>(in_.size()));
            // What decoded before a fault is handed out; the stream then ends.
            if (n <= 0 || !decoder_.Feed(std::string_view(in_.data(), static_cast<std::size_t>(n)), out_))
                done_ = true;
            total_ += out_.size();
            if (total_ > kMaxDecodedBody) {
                done_ = true;
                out_.clear();
            }
            if (!out_.empty()) {
                setg(out_.data(), out_.data(), out_.data() + out_.size());
                return traits_type::to_int_type(out_.front());
            }
        }
        return traits_type::eof();
    }

private:
    std::unique_ptr<std::streambuf> stored_;
    BodyDecoder decoder_;
    std::string in_;
    std::string out_;
    std::uint64_t total_ = 0;
    bool done_ = false;
};

}  // namespace

DecodeStatus ReadBrowsableBody(const EntryBody& body, const BodySink& sink, std::string* problem) {
    if (body.Coding() == ContentCoding::Identity) {
        FeedStored(body, sink);
        return DecodeStatus::Decoded;
    }
    return DecodePieces(
        body.Coding(), [&](const BodySink& stored) { FeedStored(body, stored); }, sink, problem);
}

std::unique_ptr<std::streambuf> OpenBrowsable(const EntryBody& body) {
    if (body.Coding() == ContentCoding::Identity) return body.Open();
    return std::make_unique<DecodingBuffer>(body.Open(), body.Coding());
}

DecodeStatus CopyBrowsableBody(const EntryBody& body, FileSystem& fs, const std::string& to, std::string* problem) {
    if (body.Coding() == ContentCoding::Identity) {
        CopyBody(body, fs, to);
        return DecodeStatus::Decoded;
    }
    DecodeStatus status = DecodeStatus::Failed;
    {
        auto out = fs.Create(to);
        status = ReadBrowsableBody(
            body,
            [&](std::string_view piece) {
                out->Write(piece);
                return true;
            },
            problem);
        out->Close();
    }
    if (status == DecodeStatus::Failed) CopyBody(body, fs, to);
    return status;
}

}  // namespace restash
