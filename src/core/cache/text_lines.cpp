#include "core/cache/text_lines.h"

#include <charconv>

#include "core/platform/text.h"
#include "core/web/url.h"

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
    while (start < line.size() && !IsFieldByte(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && IsFieldByte(line[end])) ++end;
    std::string_view field = line.substr(start, end - start);
    // The byte that ended the run goes with it.
    line.remove_prefix(end < line.size() ? end + 1 : line.size());
    return field;
}

std::string_view CacheFileNamePart(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\:/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool ParseStamp(std::string_view text, std::int32_t& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [next, err] = std::from_chars(text.data(), end, value, 10);
    return err == std::errc() && next == end;
}

TextIndexLine SplitTextIndexLine(std::string_view line) {
    TextIndexLine parsed;
    for (auto& field : parsed.fields) field = TakeField(line);
    parsed.complete = !line.empty();
    return parsed;
}

CacheEntry TextLineEntry(const TextIndexLine& line, std::int32_t stamp) {
    constexpr std::size_t kMimeCapacity = 50;
    CacheEntry entry;
    entry.Stamp = stamp;
    entry.Body.Name = std::string(CacheFileNamePart(line.fields[3]));
    entry.Url = std::string(line.fields[4]);
    entry.Domain = EntryDomain(entry.Url);
    entry.MimeType = Cut(ToUpperAscii(line.fields[5]), kMimeCapacity);
    entry.category = ClassifyMimeType(entry.MimeType);
    return entry;
}

}  // namespace restash
