#pragma once
// The two scanners of the link converter. A position is 1-based: 0 stands
// before the first character, and after a call it rests on the first
// character after what was read.
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

// Printable ASCII except space, '"', '<', '=' and '>'. The single quote
// counts, so a single-quoted value keeps its quotes.
bool IsWordCharacter(char c);

// The next word of the tag text, in upper case; empty when none is left.
std::string NextWord(std::string_view tag, std::size_t& position);

// The next value: like a word, but "=" may occur inside it and the letter
// case is kept. The "=" before it and an opening double quote are skipped.
std::string NextValue(std::string_view tag, std::size_t& position);

}  // namespace restash
