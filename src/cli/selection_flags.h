#pragma once
// The SELECTION options of the commands that choose part of the cache
// (domains, uncache, delete, export).
#include <CLI/CLI.hpp>

#include "core/selection/selection_options.h"

namespace restash::cli {

// --domain, --newer/--older and --types. Ages and types that the window does
// not offer are usage errors when the command line is parsed.
void AddSelectionOptions(CLI::App& command, SelectionOptions& options);

}  // namespace restash::cli
