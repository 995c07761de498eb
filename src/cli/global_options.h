#pragma once
// Options every command takes, and the settings and clock they lead to.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/app/settings.h"
#include "core/platform/paths.h"
#include "core/platform/clock.h"

namespace restash::cli {

struct GlobalOptions {
    std::optional<std::string> programDir;
    std::optional<std::int64_t> now;
    bool quiet = false;
};

void AddGlobalOptions(CLI::App& app, GlobalOptions& options);

// The settings of RESTASH.INI in the program's home folder. Nothing is written.
Settings LoadCliSettings(const GlobalOptions& options);

// --cache FILE: the cache index for this run (default: the cachedir setting).
void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile);

// The settings with the cache index of --cache, when given.
Settings SettingsWithCache(const GlobalOptions& options, const std::optional<std::string>& cacheFile);

// --cache FILE: the cache index for this run, its folder the cache folder.
void UseCacheIndex(Settings& settings, const std::string& indexFile);

// --offline DIR: the folder that holds the offline root (DIR + "OFFLINE/").
void UseOfflineFolder(Settings& settings, const std::string& folder);


// The system clock, or the fixed one of --now.
std::unique_ptr<Clock> MakeClock(const GlobalOptions& options);

}  // namespace restash::cli
