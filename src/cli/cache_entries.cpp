#include "cli/cache_entries.h"

#include "cli/command.h"
#include "cli/terminal_progress.h"
#include "core/cache/read_cache_index.h"

namespace restash::cli {

void AddCacheOption(CLI::App& command, std::optional<std::string>& cacheFile) {
    command.add_option("--cache", cacheFile, "The cache index file (default: the cachedir setting)")
        ->type_name("FILE");
}

CacheEntryList ReadEntries(const GlobalOptions& global, const std::optional<std::string>& cacheFile,
                           ProgressSink& progress) {
    Settings settings = LoadCliSettings(global);
    if (cacheFile) UseCacheIndex(settings, *cacheFile);
    const IndexFormat format = DetectIndexFormat(settings.CacheIndexPath());
    CacheEntryList entries;
    ReadCacheIndex(format, settings.CacheDir, settings.FatName, entries, progress);
    if (InterruptRequested()) throw StoppedByUser();
    return entries;
}

}  // namespace restash::cli
