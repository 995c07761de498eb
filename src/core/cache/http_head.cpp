#include "core/cache/http_head.h"

#include <array>
#include <cctype>
#include <charconv>

#include "core/platform/text.h"
#include "core/web/charset.h"

namespace restash {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::optional<long long> Number(std::string_view s) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

int MonthNumber(std::string_view word) {
    static constexpr std::array<std::string_view, 12> kMonths{"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (word.size() < 3) return 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (EqualsNoCase(word.substr(0, 3), kMonths[i])) return static_cast<int>(i) + 1;
    return 0;
}

struct DateParts {
    long long day = -1, year = -1, hour = -1, minute = -1, second = -1;
    int month = 0;
};

// Takes one word of a date ("06", "Nov", "1994", "08:49:37", "06-Nov-94").
void TakeDateWord(std::string_view word, DateParts& parts) {
    if (word.find(':') != std::string_view::npos) {
        if (word.size() != 8 || word[2] != ':' || word[5] != ':') return;
        const auto h = Number(word.substr(0, 2)), m = Number(word.substr(3, 2)),
                   s = Number(word.substr(6, 2));
        if (h && m && s) parts.hour = *h, parts.minute = *m, parts.second = *s;
        return;
    }
    if (word.find('-') != std::string_view::npos) {  // RFC 850: 06-Nov-94
        const std::size_t a = word.find('-'), b = word.rfind('-');
        if (a == b) return;
        TakeDateWord(word.substr(0, a), parts);
        TakeDateWord(word.substr(a + 1, b - a - 1), parts);
        TakeDateWord(word.substr(b + 1), parts);
        return;
    }
    if (const int month = MonthNumber(word); month && !std::isdigit(static_cast<unsigned char>(word[0]))) {
        parts.month = month;
        return;
    }
    const auto n = Number(word);
    if (!n) return;
    if (word.size() <= 2 && parts.day < 0)
        parts.day = *n;
    else if (word.size() == 2)
        parts.year = *n < 70 ? 2000 + *n : 1900 + *n;
    else if (word.size() == 4)
        parts.year = *n;
}

}  // namespace

std::optional<std::string> HttpHead::Header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (EqualsNoCase(key, name)) return value;
    return std::nullopt;
}

std::string HttpHead::ContentType() const { return Header("Content-Type").value_or(""); }

std::string HttpHead::MimeType() const {
    const std::string type = ContentType();
    return std::string(Trim(std::string_view(type).substr(0, type.find(';'))));
}

std::string HttpHead::Charset() const { return CharsetParameter(ContentType()); }

std::string HttpHead::ContentEncoding() const { return Header("Content-Encoding").value_or(""); }

std::optional<std::uint64_t> HttpHead::ContentLength() const {
    const auto value = Header("Content-Length");
    if (!value) return std::nullopt;
    const auto n = Number(*value);
    if (!n || *n < 0) return std::nullopt;
    return static_cast<std::uint64_t>(*n);
}

std::optional<std::int64_t> HttpHead::Date() const {
    const auto value = Header("Date");
    return value ? ParseHttpDate(*value) : std::nullopt;
}

std::optional<std::int64_t> HttpHead::LastModified() const {
    const auto value = Header("Last-Modified");
    return value ? ParseHttpDate(*value) : std::nullopt;
}

HttpHead ParseHttpHead(std::string_view head) {
    HttpHead parsed;
    bool first = true;
    while (!head.empty()) {
        const std::size_t end = head.find('\n');
        std::string_view line = head.substr(0, end);
        head = end == std::string_view::npos ? std::string_view() : head.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first && StartsWithNoCase(line, "HTTP/")) {
            parsed.statusLine = std::string(line);
            const std::size_t space = line.find(' ');
            if (space != std::string_view::npos) {
                const auto code = Number(line.substr(space + 1, 3));
                if (code) parsed.status = static_cast<int>(*code);
            }
        } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !parsed.headers.empty()) {
            parsed.headers.back().second += ' ';
            parsed.headers.back().second += Trim(line);
        } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            const std::string_view name = Trim(line.substr(0, colon));
            if (!name.empty())
                parsed.headers.emplace_back(std::string(name), std::string(Trim(line.substr(colon + 1))));
        }
        first = false;
    }
    return parsed;
}

std::optional<std::int64_t> ParseHttpDate(std::string_view text) {
    DateParts parts;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ',' || text[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ' && text[j] != ',' && text[j] != '\t') ++j;
        if (j > i) TakeDateWord(text.substr(i, j - i), parts);
        i = j;
    }
    if (parts.day < 1 || parts.day > 31 || parts.month == 0 || parts.year < 1900 || parts.hour < 0 ||
        parts.hour > 23 || parts.minute > 59 || parts.second > 60)
        return std::nullopt;
    const std::int64_t days =
        DaysFromCivil(parts.year, static_cast<unsigned>(parts.month), static_cast<unsigned>(parts.day));
    return days * 86400 + parts.hour * 3600 + parts.minute * 60 + parts.second;
}

}  // namespace restash
