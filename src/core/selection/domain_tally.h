#pragma once
// Domain tallies: one per domain that has entries inside the age window, in
// the order in which the domains were first met in the entry list, with the
// number of its text, media and other entries. Two domains that differ only
// in letter case get two tallies.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/web/url.h"

namespace restash {

// The value that stands for "no upper limit" of the age window.
inline constexpr std::int32_t kNoUpperLimit = 2140000000;

struct DomainTally {
    std::string Domain;
    std::uint64_t TextCount = 0;
    std::uint64_t MediaCount = 0;
    std::uint64_t OtherCount = 0;
};

using DomainTallyList = std::vector<DomainTally>;

// True when ageLower < stamp < ageUpper (strict, signed).
inline bool InAgeWindow(std::int32_t stamp, std::int32_t ageLower, std::int32_t ageUpper) {
    return ageLower < stamp && stamp < ageUpper;
}

// The tallies of every entry inside the age window (and, when patterns are
// given, whose address one of them matches), found by exact domain (a hash
// look-up with the result of the first-match walk). A domain is tallied
// under its first 50 characters.
DomainTallyList TallyDomains(const CacheEntryList& entries, std::int32_t ageLower, std::int32_t ageUpper,
                             const std::vector<std::string>& urlPatterns = {});

}  // namespace restash
