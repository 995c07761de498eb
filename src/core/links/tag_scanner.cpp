#include "core/links/tag_scanner.h"

#include "core/platform/text.h"

namespace restash {
namespace {

std::string Scan(std::string_view tag, std::size_t& position, bool valueCharacters) {
    // The closing ">" is never part of a word; a tag cut off by the end of
    // the page has no ">", and its last character may end a value.
    const std::size_t limit = !tag.empty() && tag.back() == '>' ? tag.size() : tag.size() + 1;
    auto at = [&](std::size_t p) { return tag[p - 1]; };
    auto belongs = [&](char c) { return IsWordCharacter(c) || (valueCharacters && c == '='); };

    ++position;
    while (position < limit && !IsWordCharacter(at(position))) ++position;
    std::string word;
    while (position < limit && belongs(at(position))) {
        word += valueCharacters ? at(position) : UpperAscii(at(position));
        ++position;
    }
    return word;
}

}  // namespace

bool IsWordCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == '!' || (u >= '#' && u <= ';') || (u >= '?' && u <= '~');
}

std::string NextWord(std::string_view tag, std::size_t& position) { return Scan(tag, position, false); }

std::string NextValue(std::string_view tag, std::size_t& position) { return Scan(tag, position, true); }

}  // namespace restash
