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

// The date (high 16 bits) and time (low 16 bits) ZIP files store, to two
// seconds; times outside 1980 to 2107, which it cannot hold, are clamped.
std::uint32_t DosDateTime(std::int64_t seconds);

}  // namespace restash
