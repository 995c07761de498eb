#include "core/selection/domain_tally.h"

#include <string_view>
#include <unordered_map>

#include "core/selection/url_pattern.h"

namespace restash {
namespace {

// Lets the map be searched with a string_view, so the walk allocates only
// when it meets a new domain.
struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

}  // namespace

DomainTallyList TallyDomains(const CacheEntryList& entries, std::int32_t ageLower, std::int32_t ageUpper,
                             const std::vector<std::string>& urlPatterns) {
    DomainTallyList tallies;
    std::unordered_map<std::string, std::size_t, ViewHash, std::equal_to<>> index;
    for (const CacheEntry& e : entries) {
        // Only entries whose body is there are counted.
        if (!e.Body.Present || !InAgeWindow(e.Stamp, ageLower, ageUpper)) continue;
        if (!MatchesAnyPattern(e.Url, urlPatterns)) continue;
        // A longer name is tallied under its first 50 characters, the name the
        // lists show.
        const std::string_view domain = std::string_view(e.Domain).substr(0, kDomainCapacity);
        auto it = index.find(domain);
        if (it == index.end()) {
            it = index.emplace(std::string(domain), tallies.size()).first;
            tallies.push_back(DomainTally{std::string(domain), 0, 0, 0});
        }
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
