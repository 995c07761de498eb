#pragma once
// What the uncaching run and the deletion take from the selection window: the
// chosen domains, the type boxes and the age window, with the predicate that
// says whether a cache entry belongs to the choice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/selection/domain_tally.h"

namespace restash {

// The case-folded key under which a domain is looked up: its first 50
// characters, ASCII letters upper-cased.
std::string DomainKey(std::string_view domain);

// Domain names in the order given, with a case-insensitive look-up in
// constant time.
class DomainSet {
public:
    DomainSet() = default;
    explicit DomainSet(const std::vector<std::string>& names);

    void Add(std::string_view name);
    void Clear();
    bool Contains(std::string_view domain) const;
    const std::vector<std::string>& Names() const { return names_; }
    std::size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }

private:
    std::vector<std::string> names_;
    std::unordered_set<std::string> keys_;
};

struct Selection {
    DomainSet Domains;
    bool IncludeText = true;
    bool IncludeMedia = true;
    bool IncludeOther = false;
    std::int32_t AgeLower = 0;
    std::int32_t AgeUpper = kNoUpperLimit;
    std::int32_t NowStamp = 0;
    // Shell-style patterns on the address (see url_pattern.h); empty: every address.
    std::vector<std::string> UrlPatterns;

    bool Includes(Category c) const;
};

// The chosen part before the types: AgeLower < Stamp < AgeUpper, the
// entry's domain is one of Domains (ignoring letter case) and its address
// matches UrlPatterns.
bool InChosenPart(const CacheEntry& entry, const Selection& selection);

// InChosenPart, and the include flag of the entry's category is set.
bool IsSelected(const CacheEntry& entry, const Selection& selection);

}  // namespace restash
