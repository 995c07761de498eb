#pragma once
// The two scanners of the link converter. A position is 1-based: 0 stands
// before the first character, and after a call it rests on the first
// character after what was read.
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

// Printable ASCII except space, '"', '<', '=' and '>', and every byte from
// 128 up (Latin-1 letters in addresses). The single quote counts.
bool IsWordCharacter(char c);

// The next word of the tag text, in upper case; empty when none is left.
std::string NextWord(std::string_view tag, std::size_t& position);

// The next value: like a word, but "=" may occur inside it and the letter
// case is kept. The "=" before it and an opening double quote are skipped.
// A value that opens with a single quote is read without it and ends at the
// closing one, so position rests on that quote as it does on a closing
// double quote.
std::string NextValue(std::string_view tag, std::size_t& position);

}  // namespace restash
