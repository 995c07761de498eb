#include "cli/cache_entries.h"

#include "cli/command.h"
#include "cli/terminal_progress.h"
#include "core/cache/cache_source.h"

namespace restash::cli {

void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile) {
    command.add_option("--cache", cacheFile, "The cache index file (default: the cachedir setting)")
        ->type_name("FILE");
}

CacheEntryList ReadEntries(const GlobalOptions& global, const std::optional<std::string>& cacheFile,
                           ProgressSink& progress) {
    Settings settings = LoadCliSettings(global);
    if (cacheFile) UseCacheIndex(settings, *cacheFile);
    CacheEntryList entries;
    if (OpenCacheSource(settings.CacheIndexPath())->Read(entries, progress) == Ending::Stopped) throw StoppedByUser();
    return entries;
}

}  // namespace restash::cli
