#pragma once
// The loader the selection window uses for the real cache index.
#include <string>

#include "core/cache/cache_entry.h"
#include "core/platform/progress.h"
#include "core/selection/selection_model.h"

namespace restash {

// Reads cacheDir + fatName in the given form, with progress for the busy
// state and the "process messages" points. progress must outlive the loader.
IndexLoader CacheIndexLoader(IndexFormat format, std::string cacheDir, std::string fatName, ProgressSink& progress);

}  // namespace restash
