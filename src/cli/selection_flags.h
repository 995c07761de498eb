#pragma once
// The SELECTION options of the commands that read the cache (list,
// domains, uncache, delete, export).
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "core/app/settings.h"
#include "core/selection/selection_options.h"

namespace restash::cli {

struct SelectionFlags {
    SelectionOptions options;       // as typed: domains and patterns in the locale's encoding
    std::optional<std::string> gmt;  // the hours the cache's time zone lies east of UTC
};

// --domain, --newer/--older, --since/--until, --gmt, --types and, with
// withUrl, --url. Ages, dates and types that cannot be used are usage errors
// when the command line is parsed.
void AddSelectionOptions(CLI::App& command, SelectionFlags& flags, bool withUrl = false);

// The options with their domains and patterns in the cache's single bytes
// (a character that has none is a UsageError).
SelectionOptions ForCache(const SelectionFlags& flags);

// --gmt H, when given, in place of the GMT setting.
void ApplyGmt(Settings& settings, const SelectionFlags& flags);

}  // namespace restash::cli
