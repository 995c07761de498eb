#include "core/selection/domain_tally.h"

#include <unordered_map>

namespace restash {

DomainTallyList TallyDomains(const CacheEntryList& entries, std::int32_t ageLower, std::int32_t ageUpper) {
    DomainTallyList tallies;
    std::unordered_map<std::string, std::size_t> index;
    for (const CacheEntry& e : entries) {
        if (!InAgeWindow(e.Stamp, ageLower, ageUpper)) continue;
        auto [it, added] = index.try_emplace(e.Domain, tallies.size());
        if (added) tallies.push_back(DomainTally{e.Domain, 0, 0, 0});
        DomainTally& t = tallies[it->second];
        switch (e.category) {
            case Category::Text: ++t.TextCount; break;
            case Category::Media: ++t.MediaCount; break;
            case Category::Other: ++t.OtherCount; break;
        }
    }
    return tallies;
}

}  // namespace restash
