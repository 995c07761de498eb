#include "core/selection/selection.h"

#include "core/platform/text.h"
#include "core/selection/url_pattern.h"

namespace restash {

std::string DomainKey(std::string_view domain) { return ToUpperAscii(domain.substr(0, kDomainCapacity)); }

DomainSet::DomainSet(const std::vector<std::string>& names) {
    for (const std::string& n : names) Add(n);
}

void DomainSet::Add(std::string_view name) {
    names_.emplace_back(name);
    keys_.insert(DomainKey(name));
}

void DomainSet::Clear() {
    names_.clear();
    keys_.clear();
}

bool DomainSet::Contains(std::string_view domain) const { return keys_.count(DomainKey(domain)) != 0; }

bool Selection::Includes(Category c) const {
    switch (c) {
        case Category::Text: return IncludeText;
        case Category::Media: return IncludeMedia;
        case Category::Other: return IncludeOther;
    }
    return false;
}

bool InChosenPart(const CacheEntry& entry, const Selection& selection) {
    return InAgeWindow(entry.Stamp, selection.AgeLower, selection.AgeUpper) &&
           selection.Domains.Contains(entry.Domain) && MatchesAnyPattern(entry.Url, selection.UrlPatterns);
}

bool IsSelected(const CacheEntry& entry, const Selection& selection) {
    return selection.Includes(entry.category) && InChosenPart(entry, selection);
}

}  // namespace restash
