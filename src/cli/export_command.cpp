#include "cli/export_command.h"

#include "cli/cli_texts.h"
#include "cli/job_outcome.h"
#include "cli/selection_flags.h"
#include "core/jobs/export_job.h"
#include "core/platform/paths.h"

namespace restash::cli {

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
    ExportJob job(
        {SettingsWithCache(context.global, cacheFile_), {nullptr, selection_}, warc_, wacz_, cdxj_, manifest_},
        context.services);
    const Outcome<ExportSummary> outcome = job.Run();
    context.progress.Clear();
    if (outcome.status == JobStatus::Stopped) context.messages.Information(kExportStopped);
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, context.messages);

    const ExportSummary& s = outcome.summary;
    context.out << "Archived " << s.archived << " of " << s.selected << " chosen entr"
                << (s.selected == 1 ? "y" : "ies") << " (" << s.bytes << " bytes); " << s.missing
                << " had no cache file.\n";
    if (!warc_.empty()) context.out << "Archive: " << AbsolutePath(warc_) << '\n';
    if (wacz_) context.out << "Package: " << AbsolutePath(*wacz_) << " (" << s.pages << " pages)\n";
    if (cdxj_) context.out << "Index: " << AbsolutePath(*cdxj_) << '\n';
    if (manifest_) context.out << "Manifest: " << AbsolutePath(*manifest_) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
