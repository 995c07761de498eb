#pragma once
// Options every command takes, and the settings and clock they lead to.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/app/settings.h"
#include "core/platform/clock.h"
#include "core/platform/paths.h"

namespace restash::cli {

struct GlobalOptions {
    std::optional<std::string> programDir;
    std::optional<std::string> now;  // seconds since 1970, checked when parsed
    bool quiet = false;
};

void AddGlobalOptions(CLI::App& app, GlobalOptions& options);

// The settings of RESTASH.INI in the program's home folder. Nothing is written.
Settings LoadCliSettings(const GlobalOptions& options);

// --cache FILE: the cache index for this run (default: the cachedir setting).
void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile);

// The settings with the cache index of --cache, when given. The index is
// found whatever the letter case of its name on disk.
Settings SettingsWithCache(const GlobalOptions& options, const std::optional<std::string>& cacheFile);

// --cache FILE: the cache index for this run, its folder the cache folder.
void UseCacheIndex(Settings& settings, const std::string& indexFile);

// --offline DIR: the folder that holds the offline root (DIR + "OFFLINE/").
void UseOfflineFolder(Settings& settings, const std::string& folder);
void AddOfflineOption(CLI::App& command, std::optional<std::string>& folder);

// The system clock, or the fixed one of --now.
std::unique_ptr<Clock> MakeClock(const GlobalOptions& options);

// A CLI11 check that a value is a whole number from low to high.
CLI::Validator WholeNumber(long long low, long long high, const char* what);

}  // namespace restash::cli
