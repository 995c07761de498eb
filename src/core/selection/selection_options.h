#pragma once
// The command line's way of making the choices of the selection window:
// --domain NAME (repeatable), --newer/--older N{h|d|w}, --types
// text,media,other, and beyond the window's choices --since/--until DATE
// and --url PATTERN. Applied to a loaded CacheSelection through the same
// operations the window uses, so the command line chooses what the window
// can, and narrows it further only by date and address.
#include <optional>
#include <string>
#include <vector>

#include "core/platform/error.h"
#include "core/selection/cache_selection.h"

namespace restash {

// A selection option that cannot be used; the text says why.
class SelectionOptionError : public Error {
public:
    using Error::Error;
};

struct SelectionOptions {
    std::vector<std::string> domains;  // empty: every domain of the age window
    std::optional<std::string> newer;  // "6h", "2d", "1w" ...
    std::optional<std::string> older;
    std::optional<std::string> since;  // "1997-06-01", "1997-06-01T14:30" ... in the cache's time zone
    std::optional<std::string> until;
    std::optional<std::string> types;  // "text,media"; unset: the boxes the window starts with
    std::vector<std::string> urls;     // shell-style patterns on the address; empty: every address

    // Whether any option narrows the choice.
    bool Narrows() const;
};

struct AgeOption {
    std::int32_t number = 0;
    AgeUnit unit = AgeUnit::Hours;
};

// "6h", "12h", "18h", "1d" to "6d", "1w" to "6w": the window's choices.
AgeOption ParseAgeOption(const std::string& text);

struct TypeOption {
    bool text = false;
    bool media = false;
    bool other = false;
};

// A comma-separated list of "text", "media" and "other" (any letter case).
TypeOption ParseTypesOption(const std::string& text);

// Sets the filters and then the chosen domains of a selection whose cache
// has been loaded: the named ones, or every domain of the age window when none is
// named. A domain is matched without regard to letter case; one that is not
// in the age window is an error that lists the available ones and the dates
// of the cache's entries. Dates are read in the time zone of the selection's
// GMT adjustment.
void ApplySelectionOptions(CacheSelection& selection, const SelectionOptions& options);

}  // namespace restash
