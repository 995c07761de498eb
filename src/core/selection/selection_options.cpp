#include "core/selection/selection_options.h"

#include <algorithm>

#include "core/platform/text.h"

namespace restash {
namespace {

std::string AllowedAges() { return "6h, 12h, 18h, 1d to 6d, or 1w to 6w"; }

}  // namespace

AgeOption ParseAgeOption(const std::string& text) {
    const auto bad = [&] {
        return SelectionOptionError("Invalid age \"" + text + "\": use " + AllowedAges());
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
        else throw SelectionOptionError("Invalid file type \"" + word + "\" in --types: use text, media and other, separated by commas");
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return types;
}

void ApplySelectionOptions(CacheSelection& selection, const SelectionOptions& options) {
    if (options.newer && options.older) throw SelectionOptionError("Use --newer or --older, not both");
    if (options.newer || options.older) {
        const AgeOption age = ParseAgeOption(options.newer ? *options.newer : *options.older);
        selection.SetAgeUnit(age.unit);
        const std::vector<std::string>& numbers = selection.AgeNumbers();
        const auto at = std::find(numbers.begin(), numbers.end(), std::to_string(age.number));
        selection.SetAgeNumber(static_cast<int>(at - numbers.begin()));
        selection.SetAgeMode(options.newer ? AgeMode::NewerThan : AgeMode::OlderThan);
    }
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
        if (listed.Contains(wanted)) continue;
        std::string available;
        for (const std::string& name : listed.Names()) available += (available.empty() ? "" : ", ") + name;
        throw SelectionOptionError("Domain \"" + wanted + "\" has no files in the chosen age window. Available domains: " +
                                   (available.empty() ? "(none)" : available));
    }
    selection.UnchooseAll();
    DomainSet wanted(options.domains);
    const NameList& available = selection.Available();
    for (std::size_t i = 0; i < available.size(); ++i)
        selection.Mark(DomainList::Available, i, wanted.Contains(available.Name(i)));
    selection.ChooseMarked();
}

}  // namespace restash
