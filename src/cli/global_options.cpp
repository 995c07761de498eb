#include "cli/global_options.h"

#include <charconv>

#include "core/app/program_dir.h"
#include "core/offline/offline_names.h"
#include "core/platform/paths.h"

namespace restash::cli {
namespace {

std::optional<long long> ParseWhole(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

CLI::Validator WholeNumber(long long low, long long high, const char* what) {
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            const std::optional<long long> value = ParseWhole(text);
            if (!value || *value < low || *value > high)
                return "'" + text + "' is not " + what + " (a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ")";
            return {};
        },
        "", "NUMBER");
}

void AddGlobalOptions(CLI::App& app, GlobalOptions& options) {
    app.add_option("--program-dir", options.programDir,
                   "The folder of RESTASH.INI (default: $RESTASH_HOME, the program's folder or ~/.config/restash)")
        ->type_name("DIR");
    app.add_option("--now", options.now, "Take the clock as fixed at SECONDS since 1970 UTC")
        ->type_name("SECONDS")
        ->check(WholeNumber(INT64_MIN / 2, INT64_MAX / 2, "a time"));
    app.add_flag("-q,--quiet", options.quiet,
                 "Print only warnings and errors: no progress line, no notes, no summary line");
}

Settings LoadCliSettings(const GlobalOptions& options) { return LoadSettings(FindProgramDir(options.programDir)); }

void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile) {
    command.add_option("--cache", cacheFile,
                       "The cache index file, or the cache or profile folder (default: the cachedir setting)")
        ->type_name("PATH");
}

void AddOfflineOption(CLI::App& command, std::optional<std::string>& folder) {
    command
        .add_option("--offline", folder,
                    "The folder that holds the offline copy, in its subfolder OFFLINE (default: the offlinedir "
                    "setting)")
        ->type_name("DIR");
}

Settings SettingsWithCache(const GlobalOptions& options, const std::optional<std::string>& cacheFile) {
    Settings settings = LoadCliSettings(options);
    UseCacheIndex(settings, cacheFile ? *cacheFile : settings.CacheIndexPath());
    return settings;
}

void UseCacheIndex(Settings& settings, const std::string& indexFile) {
    const std::string path = ExistingPathIgnoringCase(AbsolutePath(indexFile));
    settings.CacheDir = DirPart(path);
    settings.FatName = FilePart(path);
    if (IsDirectory(path)) UseCacheFolder(settings, path);
}

void UseOfflineFolder(Settings& settings, const std::string& folder) {
    settings.OfflineDir = WithTrailingSeparator(AbsolutePath(folder)) + kOfflineFolder;
}

std::unique_ptr<Clock> MakeClock(const GlobalOptions& options) {
    if (options.now) return std::make_unique<FixedClock>(*ParseWhole(*options.now));
    return std::make_unique<SystemClock>();
}

}  // namespace restash::cli
