#pragma once
// Texts for the JSON and CSV the export writes. Texts from a cache index are
// single bytes read as Latin-1; the files are UTF-8.
#include <string>
#include <string_view>

#include "core/web/charset.h"

namespace restash {

// A JSON string literal (quotes included) of a Latin-1 text.
std::string JsonString(std::string_view latin1);

// A JSON string literal of a text that is UTF-8 already.
std::string JsonUtf8String(std::string_view utf8);

// An RFC 4180 field of a Latin-1 text: quoted (with inner quotes doubled)
// when it holds a comma, a quote, CR or LF.
std::string CsvField(std::string_view latin1);

}  // namespace restash
