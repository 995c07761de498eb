#include "cli/global_options.h"

#include <filesystem>

#include "core/app/program_dir.h"
#include "core/platform/paths.h"

namespace restash::cli {

void AddGlobalOptions(CLI::App& app, GlobalOptions& options) {
    app.add_option("--program-dir", options.programDir,
                   "Folder holding RESTASH.INI (default: $RESTASH_HOME, the program's folder or ~/.config/restash)")
        ->type_name("DIR");
    app.add_option("--now", options.now, "Take the clock as fixed at SECONDS since 1970 UTC")
        ->type_name("SECONDS");
    app.add_flag("-q,--quiet", options.quiet, "No progress line, warnings or notes; errors only");
}

Settings LoadCliSettings(const GlobalOptions& options) {
    return LoadSettings(FindProgramDir(options.programDir));
}

void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile) {
    command.add_option("--cache", cacheFile,
                       "The cache index file, or the cache or profile folder (default: the cachedir setting)")
        ->type_name("PATH");
}

Settings SettingsWithCache(const GlobalOptions& options, const std::optional<std::string>& cacheFile) {
    Settings settings = LoadCliSettings(options);
    if (cacheFile) UseCacheIndex(settings, *cacheFile);
    return settings;
}

void UseCacheIndex(Settings& settings, const std::string& indexFile) {
    const std::string path = AbsolutePath(indexFile);
    settings.CacheDir = DirPart(path);
    settings.FatName = FilePart(path);
    if (IsDirectory(path)) UseCacheFolder(settings, path);
}

void UseOfflineFolder(Settings& settings, const std::string& folder) {
    settings.OfflineDir = WithTrailingSeparator(AbsolutePath(folder)) + kOfflineFolder;
}

std::unique_ptr<Clock> MakeClock(const GlobalOptions& options) {
    if (options.now) return std::make_unique<FixedClock>(*options.now);
    return std::make_unique<SystemClock>();
}

}  // namespace restash::cli
