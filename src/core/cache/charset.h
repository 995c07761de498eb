#pragma once
// The character set of a cached page and the conversion of a search word into
// it. The link converter and the search work on the page's own bytes, which
// is sound for every charset in which ASCII keeps its bytes.
#include <optional>
#include <string>
#include <string_view>

namespace restash {

inline constexpr const char* kDefaultCharset = "ISO-8859-1";

// The charset a <META http-equiv="Content-Type" content="...; charset=...">
// or a <META charset=...> near the start of the page names (the first 8 KB
// are looked at); empty when there is none.
std::string CharsetFromMeta(std::string_view page);

// The page's charset: the response head's, else the cache entry's "charset"
// element, else the page's <META>, else ISO-8859-1. page may be just the
// start of the decoded page.
std::string PageCharset(std::string_view headCharset, std::string_view charsetElement, std::string_view page);

// False for the charsets whose bytes for ASCII letters differ from ASCII's
// or may stand inside other characters (UTF-16, UTF-32, UTF-7, ISO-2022).
bool IsAsciiCompatibleCharset(std::string_view charset);

// text (UTF-8) in charset; nothing when the charset is unknown or a
// character of text has no place in it.
std::optional<std::string> ConvertFromUtf8(std::string_view text, std::string_view charset);

}  // namespace restash
