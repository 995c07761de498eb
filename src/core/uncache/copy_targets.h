#pragma once
// Where each chosen cache file goes in the offline tree: its folder (the
// root, MEDIA or OTHERS), its 8.3 name (the address's base name, numbered
// when taken) and whether it is a page whose links are converted. The run
// takes these names as it copies; a dry run takes the same names without
// copying anything.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/cache/cache_entry.h"
#include "core/web/url.h"

namespace restash {

// The names taken in each place of the tree. A place is the upper-cased
// folder below the root, with "TEMP/" after it for the pages, which are
// numbered among themselves while they wait for conversion.
class LocalNames {
public:
    // A name already in place (a support image, the placeholder page).
    void Take(const std::string& place, const std::string& name);
    // The first of base, base1, base2 ... (each name 8 characters at most,
    // the number cutting the base) not yet taken in place; takes it.
    std::string FirstFree(const std::string& place, const std::string& base, const std::string& extension);

private:
    std::unordered_set<std::string> taken_;  // upper-cased place + name of every file in place
    // For each run of numbered names (place|prefix|digits|extension): every
    // number below this one gives a name already taken.
    std::unordered_map<std::string, std::uint64_t> frontier_;
};

struct CopyTarget {
    std::string url;     // the address cleaned as the run files it
    MappedURL mapped;    // its base name and the base of its relative links
    std::string folder;  // "", "MEDIA/" or "OTHERS/"
    std::string fileName;
    bool isPage = false;  // TEXT/HTML: converted, not copied

    std::string Path() const { return folder + fileName; }
};

// The target of a chosen entry, its name taken among names.
CopyTarget TargetFor(const CacheEntry& entry, LocalNames& names);

}  // namespace restash
