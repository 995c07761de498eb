// Reading and copying bodies, whichever source found them.
#include "core/cache/cache_source.h"

namespace restash {

namespace {
constexpr std::size_t kPiece = 64 * 1024;
}  // namespace

void ReadBodyInPieces(const EntryBody& body, const std::function<void(std::string_view)>& piece) {
    const std::unique_ptr<std::streambuf> in = body.Open();
    std::string buffer(kPiece, '\0');
    while (true) {
        const std::streamsize n = in->sgetn(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (n <= 0) break;
        piece(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
}

void CopyBody(const EntryBody& body, FileSystem& fs, const std::string& to) {
    if (const std::string* file = body.PlainFile()) {
        fs.CopyFile(*file, to);
        return;
    }
    // The body is opened first, so a body that cannot be read creates nothing.
    const std::unique_ptr<std::streambuf> in = body.Open();
    auto out = fs.Create(to);
    std::string buffer(kPiece, '\0');
    while (true) {
        const std::streamsize n = in->sgetn(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (n <= 0) break;
        out->Write(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    out->Close();
}

}  // namespace restash
