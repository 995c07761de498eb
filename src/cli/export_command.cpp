#include "cli/export_command.h"

#include "cli/cache_entries.h"
#include "cli/exit_codes.h"
#include "cli/global_options.h"
#include "cli/selection_flags.h"
#include "core/app/browser_bridge.h"
#include "core/cache/cache_folder.h"
#include "core/export/export_archive.h"

namespace restash::cli {

namespace {
constexpr const char* kNoFilesToExport = "No Files To Export.";
}

ExportCommand::ExportCommand(CLI::App& parent) {
    app_ =
        parent.add_subcommand("export", "Writes the chosen part of the cache to a web archive (WARC, WACZ)");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    CLI::Option* warc = app_->add_option("--warc", warc_, "The archive to write, for example cache.warc.gz")
                            ->type_name("OUT.warc.gz");
    app_->add_option("--wacz", wacz_,
                     "The archive packed with its index and its list of pages, for ReplayWeb.page; "
                     "--warc, --wacz or both")
        ->type_name("OUT.wacz");
    app_->add_option("--cdxj", cdxj_, "An index of the --warc archive's records for replay tools (pywb)")
        ->type_name("OUT.cdxj")
        ->needs(warc);
    app_->add_option("--manifest", manifest_, "A list of every chosen entry, CSV or JSON by its extension")
        ->type_name("OUT.csv|OUT.json");
}

int ExportCommand::Run(RunContext& context) {
    if (warc_.empty() && !wacz_)
        throw UsageError("export needs an archive to write: --warc FILE, --wacz FILE or both");
    Settings settings = LoadCliSettings(context.global);
    if (cacheFile_) UseCacheIndex(settings, *cacheFile_);

    WarningsAsErrors loud(context.messages);
    ProcProcessTable processes;
    const RunningCheck netscapeRunning = [&] { return IsNetscapeRunning(settings, processes, loud); };
    SelectionModel model(context.messages, context.progress);
    StartOnSelection(model, settings, selection_, context.clock, netscapeRunning, loud, kNoFilesToExport);

    ExportOptions options;
    options.warcPath = warc_;
    options.waczPath = wacz_;
    options.cdxjPath = cdxj_;
    options.manifestPath = manifest_;
    options.sourceCacheName = AbsolutePath(settings.CacheIndexPath());
    options.createdAt = context.clock.Now();
    const CacheFolder folder(settings.CacheDir);
    const ExportSummary summary = ExportArchive(model.Entries(), model.CurrentSelection(), folder, options,
                                                context.progress, RealFileSystem());
    context.progress.Clear();
    if (summary.stopped) {
        context.messages.Information("Export stopped. No file was written.");
        return kExitStopped;
    }
    for (const std::string& failure : summary.failures) context.messages.Warning(failure);
    context.out << "Archived " << summary.archived << " of " << summary.selected << " chosen entr"
                << (summary.selected == 1 ? "y" : "ies") << " (" << summary.bytes << " bytes); "
                << summary.missing << " had no cache file.\n";
    if (!warc_.empty()) context.out << "Archive: " << AbsolutePath(warc_) << '\n';
    if (wacz_) context.out << "Package: " << AbsolutePath(*wacz_) << " (" << summary.pages << " pages)\n";
    if (cdxj_) context.out << "Index: " << AbsolutePath(*cdxj_) << '\n';
    if (manifest_) context.out << "Manifest: " << AbsolutePath(*manifest_) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
