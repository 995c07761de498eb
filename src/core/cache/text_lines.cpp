#include "core/cache/text_lines.h"

namespace restash {

namespace {
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
}  // namespace

std::string_view LineReader::Next() {
    while (pos_ < bytes_.size() && IsLineEnd(bytes_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size()) {
        if (IsLineEnd(bytes_[pos_++])) break;
    }
    return bytes_.substr(start, pos_ - start);
}

std::string_view TakeField(std::string_view& line) {
    std::size_t start = 0;
    while (start < line.size() && !IsPrintableAscii(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && IsPrintableAscii(line[end])) ++end;
    std::string_view field = line.substr(start, end - start);
    // The byte that ended the run goes with it.
    line.remove_prefix(end < line.size() ? end + 1 : line.size());
    return field;
}

}  // namespace restash
