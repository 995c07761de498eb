#include "core/index/created_on.h"

#include <cctype>
#include <ctime>
#include <iterator>
#include <sstream>

#include "core/platform/clock.h"

namespace restash {
namespace {

std::string PutTime(const std::tm& t, const std::locale& loc, const char* format) {
    std::ostringstream out;
    out.imbue(loc);
    const auto& facet = std::use_facet<std::time_put<char>>(loc);
    const std::string f(format);
    facet.put(std::ostreambuf_iterator<char>(out), out, ' ', &t, f.data(), f.data() + f.size());
    return out.str();
}

// The locale's time separator: what its time format ("%X") puts between the
// hour and the minutes of 11:22:33. A locale that writes words there (or
// nothing usable) gets ":".
std::string TimeSeparator(const std::locale& loc) {
    std::tm t{};
    t.tm_hour = 11;
    t.tm_min = 22;
    t.tm_sec = 33;
    t.tm_mday = 1;
    t.tm_year = 100;
    const std::string text = PutTime(t, loc, "%X");
    const auto hour = text.find("11");
    const auto minute = text.find("22");
    if (hour == std::string::npos || minute == std::string::npos || minute != hour + 3) return ":";
    const char sep = text[hour + 2];
    if (std::isalnum(static_cast<unsigned char>(sep)) || std::isspace(static_cast<unsigned char>(sep)) ||
        static_cast<unsigned char>(sep) >= 0x80)
        return ":";
    return std::string(1, sep);
}

std::string TwoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string CreatedOnText(const std::tm& local, const std::locale& timeLocale) {
    int hour12 = local.tm_hour % 12;
    if (hour12 == 0) hour12 = 12;
    return "Created on " + PutTime(local, timeLocale, "%A") + ", " + PutTime(local, timeLocale, "%B") + " " +
           std::to_string(local.tm_mday) + ", " + std::to_string(local.tm_year + 1900) + " - " + TwoDigits(hour12) +
           TimeSeparator(timeLocale) + TwoDigits(local.tm_min) + (local.tm_hour < 12 ? " AM" : " PM");
}

std::string CreatedOnText(std::int64_t utcSeconds, const std::locale& timeLocale) {
    // Local time is the clock's seconds shifted by the zone's offset at that
    // moment, broken down as UTC, so the text follows the injected clock only.
    const std::time_t local = static_cast<std::time_t>(utcSeconds + LocalOffset(utcSeconds));
    std::tm parts{};
    gmtime_r(&local, &parts);
    return CreatedOnText(parts, timeLocale);
}

}  // namespace restash
