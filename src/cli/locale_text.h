#pragma once
// The cache's texts are single bytes, read as Latin-1; the terminal speaks
// the user's locale. Text from the command line (search words, domains,
// address patterns) is turned into the cache's bytes before it is used, and
// the cache's text into the locale's encoding before it is printed. The "C"
// locale is taken as UTF-8, which it is a part of, as today's terminals are.
// JSON and CSV output, and reports, are always UTF-8.
#include <string>
#include <string_view>

namespace restash::cli {

// Takes the locale's character set from the environment (LC_ALL, LC_CTYPE,
// LANG); call once before any conversion.
void UseUserLocale();

// The character set text is converted to and from: "UTF-8", "ISO-8859-1" ...
const std::string& TerminalCharset();

// A text from the command line as the cache's single bytes. Throws
// UsageError naming what (for example "the search text") and the character
// when the text is not valid in the locale or has a character Latin-1 lacks.
std::string ToCacheText(std::string_view arg, const std::string& what);

// A text from the command line as UTF-8, for the core's work that knows
// each page's own character set (the search). Throws UsageError naming what
// when the text is not valid in the locale.
std::string ToUtf8Text(std::string_view arg, const std::string& what);

// UTF-8 text (a page's title) for one line of the terminal: control
// characters as "?", characters the locale cannot show as their nearest
// form or "?"; bytes that are not UTF-8 are read as Latin-1.
std::string Utf8ToTerminal(std::string_view utf8);

// The cache's bytes as UTF-8, each byte a Latin-1 character.
std::string Latin1ToUtf8(std::string_view latin1);

// The cache's bytes for one line of the terminal: in the locale's encoding,
// control characters (tabs and line breaks too) as "?", characters the
// locale cannot show as their nearest form or "?". An index therefore never
// sends escape sequences to the terminal.
std::string ToTerminal(std::string_view latin1);
// The same, appended to out.
void AppendToTerminal(std::string& out, std::string_view latin1);

// A text of the locale for one line: control characters as "?".
std::string LocaleLine(std::string_view text);

// A message that may hold both the locale's text (paths) and the cache's
// bytes (addresses, domains): as it is when it is valid in the locale,
// otherwise read as the cache's bytes.
std::string MixedToTerminal(std::string_view text);

// The same for UTF-8 output (JSON, CSV, reports).
std::string MixedToUtf8(std::string_view text);

// A text of the locale (a path, the command line) as UTF-8, bytes that are
// not valid in it as U+FFFD.
std::string LocaleToUtf8(std::string_view text);

// The number of characters text (in the locale's encoding) takes up.
std::size_t TerminalWidth(std::string_view text);

}  // namespace restash::cli
