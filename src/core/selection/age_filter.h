#pragma once
// The age choices and the age window they give: "All ages", or
// "Newer than"/"Older than" N hours, days or weeks before NowStamp.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/platform/clock.h"

namespace restash {

enum class AgeMode { AllAges = 0, NewerThan = 1, OlderThan = 2 };
enum class AgeUnit { Hours = 0, Days = 1, Weeks = 2 };

// The numbers offered for a unit: 6, 12, 18 hours; 1 to 6 days or weeks.
std::vector<std::string> AgeChoices(AgeUnit unit);

// 3,600, 86,400 or 604,800 seconds.
std::int32_t UnitSeconds(AgeUnit unit);

// The selection's "now": the clock's local time minus the GMT adjustment, in
// whole seconds since 1970, and stampShift seconds earlier (a cache whose
// stamps run ahead of the clock). For a cache whose stamps count UTC seconds
// (utcStamps) it is the clock's UTC time: neither the local time zone nor
// the adjustment for another one applies.
std::int32_t ComputeNowStamp(std::int32_t stampShift, const Clock& clock, std::int32_t gmtHours,
                             bool utcStamps = false);

struct AgeWindow {
    std::int32_t lower = 0;
    std::int32_t upper = 0;
};

// The window of a mode: (0, no limit) for "All ages", (now - N*U, no limit)
// for "Newer than", (0, now - N*U) for "Older than". A bound that would fall
// below the smallest time stamp stays at it rather than wrapping round.
AgeWindow AgeWindowFor(AgeMode mode, std::int32_t number, AgeUnit unit, std::int32_t nowStamp);

}  // namespace restash
