#include "core/selection/age_filter.h"

#include <limits>

#include "core/selection/domain_tally.h"

namespace restash {
namespace {

std::int32_t ClampToStamp(std::int64_t v) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v < lo ? lo : (v > hi ? hi : v));
}

}  // namespace

std::vector<std::string> AgeChoices(AgeUnit unit) {
    if (unit == AgeUnit::Hours) return {"6", "12", "18"};
    return {"1", "2", "3", "4", "5", "6"};
}

std::int32_t UnitSeconds(AgeUnit unit) {
    switch (unit) {
        case AgeUnit::Hours: return 3600;
        case AgeUnit::Days: return 86400;
        case AgeUnit::Weeks: return 604800;
    }
    return 3600;
}

std::int32_t ComputeNowStamp(std::int32_t stampShift, const Clock& clock, std::int32_t gmtHours, bool utcStamps) {
    // Whole seconds throughout: a day-fraction in floating point loses a
    // second for many clock values.
    const std::int64_t utc = clock.Now();
    std::int64_t now = utc;
    if (!utcStamps) now += LocalOffset(utc) - static_cast<std::int64_t>(gmtHours) * 3600;
    now -= stampShift;
    return ClampToStamp(now);
}

AgeWindow AgeWindowFor(AgeMode mode, std::int32_t number, AgeUnit unit, std::int32_t nowStamp) {
    const std::int32_t edge =
        ClampToStamp(static_cast<std::int64_t>(nowStamp) - static_cast<std::int64_t>(number) * UnitSeconds(unit));
    switch (mode) {
        case AgeMode::NewerThan: return {edge, kNoUpperLimit};
        case AgeMode::OlderThan: return {0, edge};
        case AgeMode::AllAges: break;
    }
    return {0, kNoUpperLimit};
}

}  // namespace restash
