#pragma once
// Character references in link values. A page may write "&" in an address as
// "&amp;" (as HTML wants it), "&#38;" or "&#x26;", and a Latin-1 letter as
// "&eacute;"; the cache holds the address the browser asked for, with the
// characters themselves.
#include <string>
#include <string_view>

namespace restash {

struct DecodedValue {
    std::string text;            // the value with its references replaced
    bool hadReferences = false;  // at least one reference was replaced
};

// Replaces the references of value that stand for one printable single-byte
// character (32-126, 160-255): "&amp;", "&lt;", "&gt;", "&quot;", the Latin-1
// names of HTML 3.2 ("&nbsp;" to "&yuml;") and "&#N;" or "&#xH;". Every
// reference needs its ";": "?a=1&copy=2" is an address, not a copyright
// sign. Anything else stays as written.
DecodedValue DecodeCharacterReferences(std::string_view value);

// text with "&", "<", ">", '"', "'" and the space written as references, so
// that it reads back as text from any attribute value, quoted or not.
std::string WithCharacterReferences(std::string_view text);

}  // namespace restash
