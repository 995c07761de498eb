#include "core/links/tag_scanner.h"

#include "core/platform/text.h"

namespace restash {
namespace {

std::string Scan(std::string_view tag, std::size_t& position, bool valueCharacters) {
    // The closing ">" is never part of a word; a tag cut off by the end of
    // the page has no ">", and its last character may end a value.
    const std::size_t limit = !tag.empty() && tag.back() == '>' ? tag.size() : tag.size() + 1;
    auto at = [&](std::size_t p) { return tag[p - 1]; };

    ++position;
    while (position < limit && !IsWordCharacter(at(position))) ++position;
    // A single-quoted value is read like a double-quoted one: without its
    // quotes, so the converter writes the new value between them.
    const bool singleQuoted = valueCharacters && position < limit && at(position) == '\'';
    if (singleQuoted) ++position;
    auto belongs = [&](char c) {
        if (singleQuoted && c == '\'') return false;
        return IsWordCharacter(c) || (valueCharacters && c == '=');
    };
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
    return u == '!' || (u >= '#' && u <= ';') || (u >= '?' && u <= '~') || u >= 128;
}

std::string NextWord(std::string_view tag, std::size_t& position) { return Scan(tag, position, false); }

std::string NextValue(std::string_view tag, std::size_t& position) { return Scan(tag, position, true); }

}  // namespace restash
