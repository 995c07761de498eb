#pragma once
// The creation line of the index pages: "Created on Friday, January 3, 1997 -
// 02:05 PM". Weekday and month names and the time separator come from the
// LC_TIME part of a locale; the "C" locale gives English names and ":".
#include <cstdint>
#include <ctime>
#include <locale>
#include <string>

namespace restash {

// The date text for the clock's seconds since 1970 UTC, in local time.
std::string CreatedOnText(std::int64_t utcSeconds, const std::locale& timeLocale);

// The same for a local time already broken down.
std::string CreatedOnText(const std::tm& local, const std::locale& timeLocale);

}  // namespace restash
