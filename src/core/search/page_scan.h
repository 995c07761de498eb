#pragma once
// The scan behind the offline search: does a page's text contain a string?
// The text is the page with every tag ("<" up to the next ">") reduced to one
// ">", ASCII letters compared without regard to case. Line breaks count as
// characters and entities are not decoded, so what is found is exactly what
// is written between the tags.
#include <cstddef>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/text.h"

namespace restash {

// searchText must be in upper case (ASCII letters). Reads the page once, a
// chunk at a time, and stops at the chunk holding the first occurrence.
bool TextContains(std::istream& page, std::string_view searchText, std::size_t chunkSize = 64 * 1024);

// A search word (UTF-8) as it is written in the charset of each page it is
// looked for in: ASCII letters upper-cased, as the scan compares them.
class SearchWord {
public:
    explicit SearchWord(std::string_view utf8) : utf8_(ToUpperAscii(utf8)) {}
    const std::string& Utf8() const { return utf8_; }
    // The word's bytes in charset (empty: a page that names none, read as
    // windows-1252); nothing when the word cannot be written in it.
    const std::optional<std::string>& In(const std::string& charset);

private:
    std::string utf8_;
    std::map<std::string, std::optional<std::string>> converted_;
};

// Whether the page at path holds word, written in the charset the page
// declares in a META near its start (the copy of a page whose charset the
// cache gave declares it there). Throws a FileError naming the page when it
// cannot be opened or read.
bool PageContains(const std::string& path, SearchWord& word);

}  // namespace restash
