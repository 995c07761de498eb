#pragma once
// Character sets of web pages: which one a page is in, and texts moved
// between it and UTF-8. The link converter and the search work on the page's
// own bytes, which is sound for every charset in which ASCII keeps its bytes;
// only short texts (titles, a search word) are converted.
#include <optional>
#include <string>
#include <string_view>

namespace restash {

inline constexpr const char* kDefaultCharset = "ISO-8859-1";

// The charset parameter of a Content-Type value ("text/html; charset=ISO-8859-1"
// gives "ISO-8859-1"), without quotes; empty when there is none.
std::string CharsetParameter(std::string_view contentType);

// The charset a <META http-equiv="Content-Type" content="...; charset=...">
// or a <META charset=...> near the start of the page names (the first 8 KB
// are looked at); empty when there is none.
std::string CharsetFromMeta(std::string_view page);

// The charset one META tag declares, given the tag's text after "<" (as
// "META charset=utf-8>"); empty when it declares none or is no META tag.
std::string CharsetOfMetaTag(std::string_view tag);

// The page's charset: the response head's, else the cache entry's "charset"
// element, else the page's <META>, else ISO-8859-1. page may be just the
// start of the decoded page.
std::string PageCharset(std::string_view headCharset, std::string_view charsetElement, std::string_view page);

// False for the charsets whose bytes for ASCII letters differ from ASCII's
// or may stand inside other characters (UTF-16, UTF-32, UTF-7, ISO-2022).
bool IsAsciiCompatibleCharset(std::string_view charset);

// text (UTF-8) in charset; nothing when the charset is unknown or a
// character of text has no place in it. Pages labelled ISO-8859-1 or
// US-ASCII are read as windows-1252, as browsers read them.
std::optional<std::string> ConvertFromUtf8(std::string_view text, std::string_view charset);

// bytes of charset as UTF-8, leniently: a byte sequence that is not a
// character of the charset is left out, an unfinished one at the end too.
// Bytes without a charset, in ISO-8859-1, US-ASCII or a charset this system
// does not know, and bytes labelled UTF-8 that are not, are read as
// windows-1252.
std::string ToUtf8(std::string_view bytes, std::string_view charset);

// utf8 in windows-1252; nothing when a character of it has no place there.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Latin-1 bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

// A text that is not the cache's own (a file name, a path): kept when it is
// UTF-8 already, read as Latin-1 otherwise.
std::string Utf8OrLatin1(std::string_view bytes);

// The character windows-1252 gives a byte (the five bytes it leaves free
// stay the control characters they are in Latin-1).
char32_t FromWindows1252(unsigned char byte);

// Appends the UTF-8 bytes of a character.
void AppendUtf8(std::string& out, char32_t c);

// The characters of well-formed UTF-8.
std::u32string Utf8Characters(std::string_view utf8);

}  // namespace restash
