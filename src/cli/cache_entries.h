#pragma once
// The cache entry list as the commands that read the cache get it.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "cli/global_options.h"
#include "core/cache/cache_entry.h"
#include "core/platform/progress.h"

namespace restash::cli {

void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile);

// Reads the index of the settings (or of --cache) whichever its form.
// Throws FileError naming the index when it is missing or unreadable, and
// StoppedByUser after Ctrl-C.
CacheEntryList ReadEntries(const GlobalOptions& global, const std::optional<std::string>& cacheFile,
                           ProgressSink& progress);

}  // namespace restash::cli
