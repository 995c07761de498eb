#pragma once
// Dates for choosing entries by calendar rather than by age: --since and
// --until name a day ("1997-06-01") or a moment ("1997-06-01T14:30",
// "1997-06-01T14:30:15") in the cache's time zone, which lies gmtHours east
// of UTC. The time stamps are compared as the index holds them, read as
// seconds since 1970 UTC, the way lists show them.
#include <cstdint>
#include <optional>
#include <string>

#include "core/cache/cache_entry.h"

namespace restash {

// The first and the last second a date names: a whole day, a whole minute
// or one second, in UTC.
struct DateSpan {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

// Throws SelectionOptionError (naming option) when text is not such a date.
DateSpan ParseDateOption(const std::string& option, const std::string& text, std::int32_t gmtHours);

// The first and last time stamps of a list's entries.
struct StampRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// The range of the stamps of entries; nothing for an empty list.
std::optional<StampRange> EntryDates(const CacheEntryList& entries);

// "1997-06-01": the day of a stamp in the cache's time zone.
std::string DayOf(std::int64_t stamp, std::int32_t gmtHours);

// "1997-06-01T14:30:15Z": a stamp read as UTC.
std::string IsoUtcOf(std::int64_t stamp);

// "from 1996-10-10 to 1997-06-02", or "on 1997-06-02" when both are one day.
std::string DateRangeText(const StampRange& range, std::int32_t gmtHours);

}  // namespace restash
