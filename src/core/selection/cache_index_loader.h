#pragma once
// The loader the selection window uses for a real cache.
#include <memory>

#include "core/cache/cache_source.h"
#include "core/platform/progress.h"
#include "core/selection/selection_model.h"

namespace restash {

// Reads the cache of source, with progress for the busy state and the
// "process messages" points. progress must outlive the loader.
IndexLoader CacheIndexLoader(std::shared_ptr<const CacheSource> source, ProgressSink& progress);

}  // namespace restash
