#pragma once
// The SELECTION options of the commands that choose part of the cache
// (domains, uncache, delete), and loading the cache into the selection state
// the way the selection window does before they apply.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "core/app/settings.h"
#include "core/cache/cache_source.h"
#include "core/selection/cache_selection.h"
#include "core/selection/delete_selection.h"
#include "core/selection/selection_options.h"

namespace restash::cli {

// --domain, --newer/--older and --types. Ages and types that the window does
// not offer are usage errors when the command line is parsed.
void AddSelectionOptions(CLI::App& command, SelectionOptions& options);

// The source of the cache index of settings; a missing index is reported
// with the cache-path warning and the index's path, as an error.
std::shared_ptr<CacheSource> CheckedCacheSource(const Settings& settings, Messages& messages);

// As the selection window opens: its first state for the index form, NowStamp
// from the clock, the whole index read; then the options choose. Read errors
// and unknown domains are thrown; Ctrl-C while reading throws StoppedByUser.
void LoadSelection(CacheSelection& model, const Settings& settings, std::shared_ptr<const CacheSource> source,
                   const SelectionOptions& options, const Clock& clock);

// The start uncache and delete share, in the main window's order: the
// browser must not run and the cache index must exist; then the selection is
// loaded and must hold files (else nothingText, shown as an error). Returns
// the source; throws CommandFailed when one of these ends the command.
std::shared_ptr<CacheSource> StartOnSelection(CacheSelection& model, const Settings& settings, const SelectionOptions& options,
                             const Clock& clock, const RunningCheck& netscapeRunning, Messages& loud,
                             const char* nothingText);

}  // namespace restash::cli
