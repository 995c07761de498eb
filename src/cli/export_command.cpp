#include "cli/export_command.h"

#include "cli/job_outcome.h"
#include "cli/run_report.h"
#include "cli/words.h"
#include "core/jobs/export_job.h"
#include "core/platform/paths.h"

namespace restash::cli {

ExportCommand::ExportCommand(CLI::App& parent) {
    app_ =
        parent.add_subcommand("export", "Writes the chosen part of the cache to a web archive (WARC, WACZ)");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_, true);
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
    AddReportOption(*app_, report_);
}

int ExportCommand::Run(RunContext& context) {
    if (warc_.empty() && !wacz_)
        throw UsageError("export needs an archive to write: --warc FILE, --wacz FILE or both");
    Settings settings = SettingsWithCache(context.global, cacheFile_);
    ApplyGmt(settings, selection_);
    RunReport report(context, report_, "export");
    report.SetCache(settings.CacheIndexPath());
    report.SetSelection(selection_, settings);
    ExportJob job({settings, {nullptr, ForCache(selection_), report_.has_value()}, warc_, wacz_, cdxj_, manifest_},
                  context.services);
    const Outcome<ExportSummary> outcome = job.Run();
    context.progress.Clear();
    const ExportSummary& s = outcome.summary;
    report.SetOutcome(outcome, settings, "export");
    report.Set("counts", {{"chosen", s.selected}, {"archived", s.archived}, {"missing", s.missing},
                          {"bytes", s.bytes}, {"pages", s.pages}});
    report.Write();
    const int status = EndOf(outcome, settings, "export", context.messages, "export stopped; no file was written");
    if (status != kExitDone || context.messages.Quiet()) return status;

    context.out << "Archived " << s.archived << " of " << Count(s.selected, "chosen entry", "chosen entries") << " ("
                << s.bytes << " bytes); " << s.missing << " had no cache file.\n";
    if (!warc_.empty()) context.out << "Archive: " << AbsolutePath(warc_) << '\n';
    if (wacz_) context.out << "Package: " << AbsolutePath(*wacz_) << " (" << s.pages << " pages)\n";
    if (cdxj_) context.out << "Index: " << AbsolutePath(*cdxj_) << '\n';
    if (manifest_) context.out << "Manifest: " << AbsolutePath(*manifest_) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
