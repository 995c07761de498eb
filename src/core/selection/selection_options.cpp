#include "core/selection/selection_options.h"

#include <algorithm>
#include <climits>

#include "core/platform/text.h"
#include "core/selection/date_window.h"

namespace restash {
namespace {

std::string AllowedAges() { return "6h, 12h, 18h, 1d to 6d, or 1w to 6w"; }

}  // namespace

AgeOption ParseAgeOption(const std::string& text) {
    const auto bad = [&] {
        return SelectionOptionError("invalid age '" + text + "': use " + AllowedAges());
    };
    if (text.size() < 2) throw bad();
    AgeOption age;
    switch (LowerAscii(text.back())) {
        case 'h': age.unit = AgeUnit::Hours; break;
        case 'd': age.unit = AgeUnit::Days; break;
        case 'w': age.unit = AgeUnit::Weeks; break;
        default: throw bad();
    }
    const std::string number = text.substr(0, text.size() - 1);
    const std::vector<std::string> choices = AgeChoices(age.unit);
    if (std::find(choices.begin(), choices.end(), number) == choices.end()) throw bad();
    age.number = std::stoi(number);
    return age;
}

TypeOption ParseTypesOption(const std::string& text) {
    TypeOption types;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string word = ToLowerAscii(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (word == "text") types.text = true;
        else if (word == "media") types.media = true;
        else if (word == "other") types.other = true;
        else throw SelectionOptionError("invalid file type '" + word + "' in --types: use text, media and other, separated by commas");
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return types;
}

bool SelectionOptions::Narrows() const {
    return !domains.empty() || newer || older || since || until || types || !urls.empty();
}

namespace {

std::int32_t ClampToStamp(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// --since and --until: the calendar window, both ends taken in.
void ApplyDates(CacheSelection& selection, const SelectionOptions& options) {
    if (!options.since && !options.until) return;
    std::int64_t lower = INT32_MIN, upper = INT32_MAX;
    if (options.since) lower = ParseDateOption("--since", *options.since, selection.GmtHours()).first - 1;
    if (options.until) upper = ParseDateOption("--until", *options.until, selection.GmtHours()).last + 1;
    if (options.since && options.until && lower >= upper - 1)
        throw SelectionOptionError("--since " + *options.since + " is after --until " + *options.until);
    selection.SetDateWindow(ClampToStamp(lower), ClampToStamp(upper));
}

std::string NoSuchDomainText(const CacheSelection& selection, const std::string& wanted, const DomainSet& listed) {
    std::string available;
    for (const std::string& name : listed.Names()) available += (available.empty() ? "" : ", ") + name;
    std::string text = "domain '" + wanted + "' has no files in the chosen dates; the domains there: " +
                       (available.empty() ? "(none)" : available);
    if (const auto dates = EntryDates(selection.Entries()))
        text += "; the cache's entries date " + DateRangeText(*dates, selection.GmtHours());
    return text;
}

}  // namespace

void ApplySelectionOptions(CacheSelection& selection, const SelectionOptions& options) {
    if (options.newer && options.older) throw SelectionOptionError("--newer and --older cannot be used together");
    if (!options.urls.empty()) selection.SetUrlPatterns(options.urls);
    if (options.newer || options.older) {
        const AgeOption age = ParseAgeOption(options.newer ? *options.newer : *options.older);
        selection.SetAgeUnit(age.unit);
        const std::vector<std::string>& numbers = selection.AgeNumbers();
        const auto at = std::find(numbers.begin(), numbers.end(), std::to_string(age.number));
        selection.SetAgeNumber(static_cast<int>(at - numbers.begin()));
        selection.SetAgeMode(options.newer ? AgeMode::NewerThan : AgeMode::OlderThan);
    }
    ApplyDates(selection, options);
    if (options.types) {
        const TypeOption types = ParseTypesOption(*options.types);
        selection.SetTypeIncluded(Category::Text, types.text);
        selection.SetTypeIncluded(Category::Media, types.media);
        selection.SetTypeIncluded(Category::Other, types.other);
    }
    if (options.domains.empty()) {
        selection.ChooseAll();
        return;
    }

    // Every named domain must be one of the age window.
    std::vector<std::string> names;
    for (const DomainTally& t : selection.Tallies()) names.push_back(t.Domain);
    NameList sorted;
    sorted.AddAll(names);
    const DomainSet listed(sorted.Names());
    for (const std::string& wanted : options.domains) {
        if (!listed.Contains(wanted)) throw SelectionOptionError(NoSuchDomainText(selection, wanted, listed));
    }
    selection.UnchooseAll();
    DomainSet wanted(options.domains);
    const NameList& available = selection.Available();
    for (std::size_t i = 0; i < available.size(); ++i)
        selection.Mark(DomainList::Available, i, wanted.Contains(available.Name(i)));
    selection.ChooseMarked();
}

}  // namespace restash
