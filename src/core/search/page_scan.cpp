#include "core/search/page_scan.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <memory>

#include "core/platform/error.h"
#include "core/platform/file_read_buffer.h"
#include "core/platform/text.h"
#include "core/web/charset.h"

namespace restash {
namespace {

// How much of a page is looked at for the charset it declares.
constexpr std::size_t kCharsetScan = 8192;

// The bytes read already, then the rest of the stream they came from.
class ResumedBuffer final : public std::streambuf {
public:
    ResumedBuffer(std::string start, std::streambuf& rest) : start_(std::move(start)), rest_(rest) {
        setg(start_.data(), start_.data(), start_.data() + start_.size());
    }

protected:
    int_type underflow() override {
        const std::streamsize n = rest_.sgetn(buffer_, sizeof buffer_);
        if (n <= 0) return traits_type::eof();
        setg(buffer_, buffer_, buffer_ + n);
        return traits_type::to_int_type(buffer_[0]);
    }

private:
    std::string start_;
    std::streambuf& rest_;
    char buffer_[64 * 1024];
};

}  // namespace

// The tag-free text is tested window by window; each window starts with the
// last (length - 1) characters of the one before, so an occurrence that
// straddles two windows lies whole in the second. With that carry every
// occurrence in the text lies in some window, whatever the window size, so
// chunk-sized windows find exactly what 1023-character windows would.
bool TextContains(std::istream& page, std::string_view searchText, std::size_t chunkSize) {
    if (searchText.empty()) return true;
    const std::size_t carry = searchText.size() - 1;
    const std::size_t size = chunkSize > 0 ? chunkSize : 1;
    const std::unique_ptr<char[]> chunk(new char[size]);
    std::string window;
    window.reserve(size + carry + 1);
    bool inTag = false;
    char lastRead = 0;  // inside a tag: the last character read
    for (;;) {
        page.read(chunk.get(), static_cast<std::streamsize>(size));
        const auto got = static_cast<std::size_t>(page.gcount());
        if (page.bad()) throw Error("I/O error");
        // Runs of text and whole tags at a time: a tag adds only its ">".
        const char* at = chunk.get();
        const char* const end = at + got;
        while (at < end) {
            if (inTag) {
                const auto* close = static_cast<const char*>(std::memchr(at, '>', static_cast<std::size_t>(end - at)));
                if (!close) {
                    lastRead = end[-1];
                    break;
                }
                inTag = false;
                window.push_back('>');
                at = close + 1;
            } else {
                const auto* open = static_cast<const char*>(std::memchr(at, '<', static_cast<std::size_t>(end - at)));
                const char* const textEnd = open ? open : end;
                for (; at < textEnd; ++at) window.push_back(UpperAscii(*at));
                if (!open) break;
                inTag = true;
                lastRead = '<';
                at = open + 1;
            }
        }
        // A tag left open at the end of the page stands as its last character.
        const bool atEnd = got < size;
        if (atEnd && inTag) window.push_back(UpperAscii(lastRead));
        if (window.find(searchText) != std::string::npos) return true;
        if (atEnd) return false;
        if (window.size() > carry) window.erase(0, window.size() - carry);
    }
}

const std::optional<std::string>& SearchWord::In(const std::string& charset) {
    const auto found = converted_.find(charset);
    if (found != converted_.end()) return found->second;
    std::optional<std::string> bytes = ConvertFromUtf8(utf8_, charset);
    if (bytes) *bytes = ToUpperAscii(*bytes);
    return converted_.emplace(charset, std::move(bytes)).first->second;
}

bool PageContains(const std::string& path, SearchWord& word) {
    // Opening throws a FileError naming the page; read through plain reads,
    // with no buffer of the stream library's own.
    FileReadBuffer buffer(path);
    try {
        // The start of the page says its charset, then is scanned with the rest.
        std::string start(kCharsetScan, '\0');
        start.resize(static_cast<std::size_t>(buffer.sgetn(start.data(), static_cast<std::streamsize>(kCharsetScan))));
        const std::optional<std::string>& text = word.In(CharsetFromMeta(start));
        if (!text) return false;
        ResumedBuffer whole(std::move(start), buffer);
        std::istream page(&whole);
        return TextContains(page, *text);
    } catch (const Error&) {
        ThrowErrno(path, EIO);
    }
}

}  // namespace restash
