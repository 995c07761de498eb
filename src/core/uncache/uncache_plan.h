#pragma once
// What an uncaching run would do, worked out without writing anything: each
// chosen cache file with the name the run would give it in the offline tree,
// and what it would leave out.
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/cache/cache_source.h"
#include "core/selection/selection.h"
#include "core/uncache/uncache_run.h"

namespace restash {

struct PlannedCopy {
    std::string url;
    std::string path;  // below the offline root: "PAGE.HTM", "MEDIA/LOGO.GIF"
    Category category = Category::Other;
    bool isPage = false;  // its links would be converted
};

struct UncachePlan {
    std::vector<PlannedCopy> files;    // in the order the run copies them
    std::vector<CopyFailure> gone;     // chosen entries whose body is not there
    bool historyMissing = false;       // the history file the run would rewrite is not there
};

// The copies a run over entries for selection would make, named as the run
// names them in a freshly emptied tree. Reads the cache folder's listing;
// writes nothing.
UncachePlan PlanUncache(const Settings& settings, const CacheSource& source, const CacheEntryList& entries,
                        const Selection& selection);

}  // namespace restash
