#include "core/search/page_scan.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <memory>

#include "core/platform/error.h"
#include "core/platform/file_read_buffer.h"
#include "core/platform/text.h"

namespace restash {

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

bool PageContains(const std::string& path, std::string_view searchText) {
    // Opening throws a FileError naming the page; read through plain reads,
    // with no buffer of the stream library's own.
    FileReadBuffer buffer(path);
    std::istream page(&buffer);
    try {
        return TextContains(page, searchText);
    } catch (const Error&) {
        ThrowErrno(path, EIO);
    }
}

}  // namespace restash
