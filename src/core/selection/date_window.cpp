#include "core/selection/date_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/selection/selection_options.h"

namespace restash {
namespace {

using namespace std::chrono;

// Exactly count decimal digits of text from at, or nothing.
std::optional<int> Digits(const std::string& text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Seconds since 1970 of a wall-clock time in UTC, or nothing when the text
// is not "YYYY-MM-DD" with an optional "THH:MM" or "THH:MM:SS" (a space may
// stand for the T); precision is the length of the span it names.
std::optional<DateSpan> ParseWallClock(const std::string& text) {
    const auto y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
    if (!y || !m || !d || text[4] != '-' || text[7] != '-') return std::nullopt;
    const year_month_day date{year{*y}, month{static_cast<unsigned>(*m)}, day{static_cast<unsigned>(*d)}};
    if (!date.ok()) return std::nullopt;
    const std::int64_t midnight = sys_seconds{sys_days{date}}.time_since_epoch().count();
    if (text.size() == 10) return DateSpan{midnight, midnight + 86399};
    if (text[10] != 'T' && text[10] != 't' && text[10] != ' ') return std::nullopt;
    const auto hh = Digits(text, 11, 2), mm = Digits(text, 14, 2);
    if (!hh || !mm || text[13] != ':' || *hh > 23 || *mm > 59) return std::nullopt;
    const std::int64_t minute = midnight + *hh * 3600 + *mm * 60;
    if (text.size() == 16) return DateSpan{minute, minute + 59};
    const auto ss = Digits(text, 17, 2);
    if (text.size() != 19 || text[16] != ':' || !ss || *ss > 59) return std::nullopt;
    return DateSpan{minute + *ss, minute + *ss};
}

struct Civil {
    int year;
    unsigned month, day, hour, minute, second;
};

Civil CivilOf(std::int64_t seconds) {
    const sys_seconds at{std::chrono::seconds{seconds}};
    const sys_days days = floor<std::chrono::days>(at);
    const year_month_day date{days};
    const std::int64_t rest = (at - days).count();
    return {static_cast<int>(date.year()), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
            static_cast<unsigned>(rest / 3600), static_cast<unsigned>(rest / 60 % 60),
            static_cast<unsigned>(rest % 60)};
}

}  // namespace

DateSpan ParseDateOption(const std::string& option, const std::string& text, std::int32_t gmtHours) {
    const std::optional<DateSpan> wall = ParseWallClock(text);
    if (!wall)
        throw SelectionOptionError("invalid date '" + text + "' for " + option +
                                   ": use YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS");
    // A wall-clock time east of UTC happened that many hours earlier in UTC.
    const std::int64_t shift = static_cast<std::int64_t>(gmtHours) * 3600;
    return {wall->first - shift, wall->last - shift};
}

std::optional<StampRange> EntryDates(const CacheEntryList& entries) {
    if (entries.empty()) return std::nullopt;
    StampRange range{entries.front().Stamp, entries.front().Stamp};
    for (const CacheEntry& e : entries) {
        range.first = std::min(range.first, e.Stamp);
        range.last = std::max(range.last, e.Stamp);
    }
    return range;
}

std::string DayOf(std::int64_t stamp, std::int32_t gmtHours) {
    const Civil c = CivilOf(stamp + static_cast<std::int64_t>(gmtHours) * 3600);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", c.year, c.month, c.day);
    return text;
}

std::string IsoUtcOf(std::int64_t stamp) {
    const Civil c = CivilOf(stamp);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02u:%02u:%02uZ", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
}

std::string DateRangeText(const StampRange& range, std::int32_t gmtHours) {
    const std::string first = DayOf(range.first, gmtHours), last = DayOf(range.last, gmtHours);
    return first == last ? "on " + first : "from " + first + " to " + last;
}

}  // namespace restash
