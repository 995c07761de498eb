#include "core/export/utc_time.h"

#include <cstdio>

namespace restash {
namespace {

struct CivilTime {
    std::int64_t year;
    unsigned month, day, hour, minute, second;
};

// Days since 1970-01-01 to a proleptic Gregorian date (eras of 400 years).
CivilTime ToCivil(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;  // from 0000-03-01
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    CivilTime t{};
    t.day = dayOfYear - (153 * mp + 2) / 5 + 1;
    t.month = mp < 10 ? mp + 3 : mp - 9;
    t.year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (t.month <= 2 ? 1 : 0);
    t.hour = static_cast<unsigned>(rest / 3600);
    t.minute = static_cast<unsigned>(rest / 60 % 60);
    t.second = static_cast<unsigned>(rest % 60);
    return t;
}

}  // namespace

std::string IsoUtc(std::int64_t seconds) {
    const CivilTime t = ToCivil(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ", static_cast<long long>(t.year), t.month,
                  t.day, t.hour, t.minute, t.second);
    return text;
}

std::string Timestamp14(std::int64_t seconds) {
    const CivilTime t = ToCivil(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld%02u%02u%02u%02u%02u", static_cast<long long>(t.year), t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::uint32_t DosDateTime(std::int64_t seconds) {
    CivilTime t = ToCivil(seconds);
    if (t.year < 1980) t = CivilTime{1980, 1, 1, 0, 0, 0};
    if (t.year > 2107) t = CivilTime{2107, 12, 31, 23, 59, 58};
    const auto date = static_cast<std::uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
    const std::uint32_t time = (t.hour << 11) | (t.minute << 5) | (t.second / 2);
    return (date << 16) | time;
}

}  // namespace restash
