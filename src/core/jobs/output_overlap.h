#pragma once
// Outputs never overlap the inputs. Before a job writes anything it names
// what it will write and what it reads; the real paths (symbolic links
// followed) must lie apart: no output is the cache index or lies in the
// cache folder, the offline root and the cache folder do not contain one
// another, and the history file is neither the cache index nor inside the
// offline root (which a run replaces whole). Every job and Setup's OK ask
// this one check, so they refuse in the same words.
#include <optional>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/jobs/outcome.h"

namespace restash {

struct JobPaths {
    std::string cacheIndex;            // read; the cache folder is its folder (empty: no cache)
    std::string history;               // read and rewritten (empty: none)
    std::string offlineRoot;           // the offline root, written or replaced (empty: none)
    std::vector<std::string> outputs;  // other files written: archives, indexes, manifests, reports
};

// Nothing when the paths lie apart; else the Overlap failure, whose text
// names the output and the input it would overwrite.
std::optional<Failure> CheckOutputsApart(const JobPaths& paths);

// The paths of an uncaching run with these settings (the history only when
// it is rewritten).
JobPaths UncachePaths(const Settings& settings, bool history);

}  // namespace restash
