#pragma once
// The scan behind the offline search: does a page's text contain a string?
// The text is the page with every tag ("<" up to the next ">") reduced to one
// ">", ASCII letters compared without regard to case. Line breaks count as
// characters and entities are not decoded, so what is found is exactly what
// is written between the tags.
#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace restash {

// searchText must be in upper case (ASCII letters). Reads the page once, a
// chunk at a time, and stops at the chunk holding the first occurrence.
bool TextContains(std::istream& page, std::string_view searchText, std::size_t chunkSize = 64 * 1024);

// The same for the file at path; throws a FileError naming it when it cannot
// be opened or read.
bool PageContains(const std::string& path, std::string_view searchText);

}  // namespace restash
