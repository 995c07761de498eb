#include "core/search/page_scan.h"

#include <cerrno>
#include <fstream>
#include <vector>

#include "core/platform/error.h"
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
    std::vector<char> chunk(chunkSize > 0 ? chunkSize : 1);
    std::string window;
    bool inTag = false;
    char lastRead = 0;  // inside a tag: the last character read
    for (;;) {
        page.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(page.gcount());
        if (page.bad()) throw Error("I/O error");
        for (std::size_t i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (inTag) {
                lastRead = c;
                if (c == '>') {
                    inTag = false;
                    window.push_back('>');
                }
            } else if (c == '<') {
                inTag = true;
                lastRead = c;
            } else {
                window.push_back(UpperAscii(c));
            }
        }
        // A tag left open at the end of the page stands as its last character.
        const bool atEnd = got < chunk.size();
        if (atEnd && inTag) window.push_back(UpperAscii(lastRead));
        if (window.find(searchText) != std::string::npos) return true;
        if (atEnd) return false;
        if (window.size() > carry) window.erase(0, window.size() - carry);
    }
}

bool PageContains(const std::string& path, std::string_view searchText) {
    std::ifstream page(path, std::ios::binary);
    if (!page) ThrowErrno(path, errno ? errno : ENOENT);
    try {
        return TextContains(page, searchText);
    } catch (const Error&) {
        ThrowErrno(path, EIO);
    }
}

}  // namespace restash
