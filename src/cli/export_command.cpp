#include "cli/export_command.h"

#include "cli/cache_entries.h"
#include "cli/exit_codes.h"
#include "cli/global_options.h"
#include "cli/selection_flags.h"
#include "core/app/browser_bridge.h"
#include "core/export/export_archive.h"

namespace restash::cli {

namespace {
constexpr const char* kNoFilesToExport = "No Files To Export.";
}

ExportCommand::ExportCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("export", "Writes the chosen part of the cache to a web archive (WARC)");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    app_->add_option("--warc", warc_, "The archive to write, for example cache.warc.gz")
        ->type_name("OUT.warc.gz")
        ->required();
    app_->add_option("--cdxj", cdxj_, "An index of the archive's records for replay tools (pywb)")
        ->type_name("OUT.cdxj");
    app_->add_option("--manifest", manifest_, "A list of every chosen entry, CSV or JSON by its extension")
        ->type_name("OUT.csv|OUT.json");
}

int ExportCommand::Run(RunContext& context) {
    Settings settings = LoadCliSettings(context.global);
    if (cacheFile_) UseCacheIndex(settings, *cacheFile_);

    WarningsAsErrors loud(context.messages);
    ProcProcessTable processes;
    const RunningCheck netscapeRunning = [&] { return IsNetscapeRunning(settings, processes, loud); };
    CacheSelection model(context.progress);
    const auto source =
        StartOnSelection(model, settings, selection_, context.clock, netscapeRunning, loud, kNoFilesToExport);

    ExportOptions options;
    options.warcPath = warc_;
    options.cdxjPath = cdxj_;
    options.manifestPath = manifest_;
    options.sourceCacheName = AbsolutePath(settings.CacheIndexPath());
    options.createdAt = context.clock.Now();
    const ExportSummary summary = ExportArchive(model.Entries(), model.Current(), *source, options,
                                                context.progress, RealFileSystem());
    context.progress.Clear();
    if (summary.stopped) {
        context.messages.Information("Export stopped. No file was written.");
        return kExitStopped;
    }
    for (const std::string& failure : summary.failures) context.messages.Warning(failure);
    context.out << "Archived " << summary.archived << " of " << summary.selected << " chosen entr"
                << (summary.selected == 1 ? "y" : "ies") << " (" << summary.bytes << " bytes); " << summary.missing
                << " had no cache file.\n"
                << "Archive: " << AbsolutePath(warc_) << '\n';
    if (cdxj_) context.out << "Index: " << AbsolutePath(*cdxj_) << '\n';
    if (manifest_) context.out << "Manifest: " << AbsolutePath(*manifest_) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
