#pragma once
// Lines and fields of a text-form cache index, read from the bytes of the
// whole file, and the entry a line describes. The index reader and the
// deletion's index rewrite share them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/cache/cache_entry.h"

namespace restash {

// Reads lines one after the other. CR and LF before a line are skipped; the
// line is every byte from there up to and including the next CR or LF, or up
// to the end of the file. A line is never cut, however long. At the end of
// the file the line is empty.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    // The next line, a view into the bytes (its terminator included).
    std::string_view Next();

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// The bytes a field is made of: printable ASCII (32 to 126) and every byte
// from 128 up, so an address with Latin-1 letters stays whole.
inline bool IsFieldByte(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 32 && u <= 126) || u >= 128;
}

// Takes the next field from the front of line and removes it with the byte
// that ends it. Fields are runs of field bytes (spaces belong to them)
// separated by runs of anything else (tab, CR, NUL, DEL ...); a field is empty
// only when the line has run out.
std::string_view TakeField(std::string_view& line);

// The cache file's name in a line's path field: what follows the last "\",
// ":" or "/".
std::string_view CacheFileNamePart(std::string_view path);

// Only the first 12 characters of the time-stamp field count.
inline constexpr std::size_t kStampDigits = 12;

// A decimal 32-bit integer: leading spaces, an optional sign, digits and
// nothing else.
bool ParseStamp(std::string_view text, std::int32_t& value);

// The seven fields of a line: 3 the time stamp, 4 the cache file's path, 5
// the URL, 6 the MIME type.
struct TextIndexLine {
    std::string_view fields[7];
    bool complete = false;  // something follows the seventh field: a line of the reader's
};
TextIndexLine SplitTextIndexLine(std::string_view line);

// The time stamp's text: the first 12 characters of field 3.
inline std::string_view StampText(const TextIndexLine& line) { return line.fields[2].substr(0, kStampDigits); }

// The entry a line describes, with its time stamp already parsed: address,
// domain, type and category by the field rules, the cache file's name.
CacheEntry TextLineEntry(const TextIndexLine& line, std::int32_t stamp);

}  // namespace restash
