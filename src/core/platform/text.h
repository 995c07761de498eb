#pragma once
// Single-byte text helpers. Texts are byte strings; "upper case" means the
// ASCII letters a-z only, as the original program did it.
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ToUpperAscii(std::string_view s);
std::string ToLowerAscii(std::string_view s);

// Equal without regard to ASCII letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

// Ordering of the sorted lists: ASCII letters compared without regard to
// case, every other byte by its value. Returns <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);

// The first n bytes of s (all of s when shorter): the fixed capacities of the
// original texts where they shape what the user sees.
inline std::string Cut(std::string_view s, std::size_t n) { return std::string(s.substr(0, n)); }

}  // namespace restash
