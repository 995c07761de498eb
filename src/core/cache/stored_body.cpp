#include "core/cache/stored_body.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/platform/error.h"

namespace restash {
namespace {

constexpr std::size_t kPiece = 64 * 1024;

// Closes the descriptor however the read ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::uint64_t ReadStoredBody(const BodyLocation& body, const BodySink& sink) {
    if (body.kind == BodyLocation::Kind::None || body.path.empty() || body.length == 0) return 0;
    const Descriptor file{::open(body.path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) ThrowErrno(body.path, errno);
    char buffer[kPiece];
    std::uint64_t done = 0;
    while (done < body.length) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, body.length - done));
        const ssize_t got = ::pread(file.fd, buffer, want, static_cast<off_t>(body.offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(body.path, errno);
        }
        if (got == 0) break;  // the file ends early
        done += static_cast<std::uint64_t>(got);
        if (!sink(std::string_view(buffer, static_cast<std::size_t>(got)))) break;
    }
    return done;
}

std::string ReadStoredBodyBytes(const BodyLocation& body, std::uint64_t maxBytes) {
    std::string bytes;
    ReadStoredBody(body, [&](std::string_view piece) {
        bytes.append(piece.substr(
            0, static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), maxBytes - bytes.size()))));
        return bytes.size() < maxBytes;
    });
    return bytes;
}

DecodeStatus DecodePieces(ContentCoding coding, const std::function<void(const BodySink&)>& feed,
                          const BodySink& sink, std::string* problem) {
    BodyDecoder decoder(coding);
    std::string out;
    bool ok = true, stopped = false, any = false;
    std::uint64_t decoded = 0;
    feed([&](std::string_view piece) {
        any = true;
        out.clear();
        ok = decoder.Feed(piece, out);
        decoded += out.size();
        if (decoded > kMaxDecodedBody) {
            if (problem) *problem = "it decodes to more than " + std::to_string(kMaxDecodedBody >> 20) + " MB";
            return false;
        }
        if (!out.empty() && !sink(out)) stopped = true;
        return ok && !stopped;
    });
    if (decoded > kMaxDecodedBody) return DecodeStatus::Failed;
    if (stopped) return DecodeStatus::Decoded;  // the caller stopped; nothing is known to be wrong
    if (ok && (!any || decoder.Finish())) return DecodeStatus::Decoded;
    if (problem) *problem = decoder.Problem();
    return !ok || decoded == 0 ? DecodeStatus::Failed : DecodeStatus::Truncated;
}

DecodeStatus ReadDecodedBody(const BodyLocation& body, ContentCoding coding, const BodySink& sink,
                             std::string* problem) {
    return DecodePieces(
        coding, [&](const BodySink& stored) { ReadStoredBody(body, stored); }, sink, problem);
}

}  // namespace restash
