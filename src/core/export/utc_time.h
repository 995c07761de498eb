#pragma once
// Seconds since 1 January 1970 as the archive writes them, in UTC, computed
// from the calendar rather than the C library's time functions (no time zone
// or locale can change them).
#include <cstdint>
#include <string>

namespace restash {

// "1997-03-04T05:06:07Z".
std::string IsoUtc(std::int64_t seconds);

// "19970304050607", the form archive indexes sort by.
std::string Timestamp14(std::int64_t seconds);

}  // namespace restash
