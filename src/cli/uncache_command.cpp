#include "cli/uncache_command.h"

#include "cli/job_outcome.h"
#include "cli/locale_text.h"
#include "cli/run_report.h"
#include "cli/text_output.h"
#include "cli/words.h"
#include "core/app/browser_bridge.h"
#include "core/app/rsh_mime_type.h"
#include "core/jobs/uncache_job.h"
#include "core/platform/paths.h"

namespace restash::cli {

UncacheCommand::UncacheCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("uncache", "Turns the chosen part of the cache into the offline copy");
    AddCacheOption(*app_, cacheFile_);
    AddOfflineOption(*app_, offlineFolder_);
    app_->add_option("--history", historyFile_,
                     "Netscape's history file, rewritten for a text index (default: the histpath setting)")
        ->type_name("FILE");
    app_->add_flag("--no-history", noHistory_, "Neither read nor rewrite the history file");
    AddSelectionOptions(*app_, selection_);
    app_->add_flag("--keep-urls", keepUrls_, "Links to files not cached keep their web address");
    app_->add_flag("--no-keep-urls", noKeepUrls_, "Links to files not cached are marked instead");
    app_->add_flag("--emphasis", emphasis_, "Emphasise the links to pages that are available");
    app_->add_flag("--no-emphasis", noEmphasis_, "Do not emphasise available links");
    app_->add_flag("--dry-run", dryRun_,
                   "Show each file the run would copy (kind, local name, address) and the totals; write nothing");
    AddReportOption(*app_, report_);
    app_->add_flag("--view", view_, "Open the index page in the configured browser when the copy is done");
    app_->add_flag("--no-register", noRegister_,
                   "Leave the user's MIME database alone (by default the .RSH and .RSI index pages are registered "
                   "as HTML, so that browsers show them)");
}

Settings UncacheCommand::RunSettings(const RunContext& context) const {
    Settings settings = SettingsWithCache(context.global, cacheFile_);
    if (offlineFolder_) UseOfflineFolder(settings, *offlineFolder_);
    if (historyFile_) settings.HistPath = AbsolutePath(*historyFile_);
    if (keepUrls_ || noKeepUrls_) settings.NotFoundURL = keepUrls_;
    if (emphasis_ || noEmphasis_) settings.EmphTag = emphasis_;
    ApplyGmt(settings, selection_);
    return settings;
}

namespace {

const char* KindOf(const PlannedCopy& file) { return file.isPage ? "page" : CategoryName(file.category); }

nlohmann::ordered_json PlanCounts(const UncachePlan& plan) {
    std::uint64_t pages = 0, text = 0, media = 0, other = 0;
    for (const PlannedCopy& f : plan.files) {
        if (f.isPage) ++pages;
        else if (f.category == Category::Text) ++text;
        else if (f.category == Category::Media) ++media;
        else ++other;
    }
    return {{"files", plan.files.size()}, {"pages", pages},          {"text", text},
            {"media", media},             {"other", other},          {"skipped", plan.gone.size()}};
}

}  // namespace

int UncacheCommand::DryRun(RunContext& context, const Settings& settings, RunReport& report) {
    UncacheJob job({settings, {nullptr, ForCache(selection_), report_.has_value()}, !noHistory_}, context.services);
    const Outcome<UncachePlan> outcome = job.Plan();
    context.progress.Clear();
    report.SetOutcome(outcome, settings, "uncache");
    const int status = EndOf(outcome, settings, "uncache", context.messages);
    if (status != kExitDone) {
        report.Write();
        return status;
    }
    const UncachePlan& plan = outcome.summary;
    TextTable table({"KIND", "LOCAL NAME", "URL"});
    nlohmann::ordered_json planned = nlohmann::ordered_json::array();
    for (const PlannedCopy& f : plan.files) {
        table.Add({KindOf(f), f.path, f.url});
        planned.push_back({{"url", Latin1ToUtf8(f.url)}, {"kind", KindOf(f)}, {"local_name", f.path}});
    }
    table.Print(context.out);
    const nlohmann::ordered_json counts = PlanCounts(plan);
    report.Set("counts", counts);
    report.Set("planned", planned);
    report.Write();
    if (!context.messages.Quiet())
        context.out << "Would copy " << Count(plan.files.size(), "file", "files") << " (" << counts["pages"]
                    << " pages, " << counts["text"] << " other text, " << counts["media"] << " media, "
                    << counts["other"] << " other) into " << settings.OfflineDir << ", skip " << plan.gone.size()
                    << "; nothing was written.\n";
    return kExitDone;
}

void UncacheCommand::ViewIndex(RunContext& context, const Settings& settings, bool programThere) const {
    if (!programThere) {
        context.messages.PrintError("cannot open the index page: the browser program " +
                                    settings.NetscapeProgramPath() + " (netspath setting) is not there");
        return;
    }
    SpawnLauncher launcher;
    const int result = LaunchNetscape(settings, launcher, settings.IndexPagePath());
    if (!LaunchSucceeded(result))
        context.messages.PrintError("cannot open the index page: " + settings.NetscapeProgramPath() +
                                    " did not start (error " + std::to_string(result) + ")");
}

int UncacheCommand::Run(RunContext& context) {
    const Settings settings = RunSettings(context);
    RunReport report(context, report_, "uncache");
    report.SetCache(settings.CacheIndexPath());
    report.SetOfflineRoot(settings.OfflineDir);
    report.SetSelection(selection_, settings);
    if (dryRun_) return DryRun(context, settings, report);

    // The question at the end of the run is answered by --view.
    context.messages.SetAnswer(view_ ? Answer::Yes : Answer::No);
    UncacheJob job({settings, {nullptr, ForCache(selection_), report_.has_value()}, !noHistory_}, context.services);
    const Outcome<UncacheSummary> outcome = job.Run();
    context.progress.Clear();
    const UncacheSummary& s = outcome.summary;
    report.SetOutcome(outcome, settings, "uncache");
    report.Set("counts", {{"copied", s.filesCopied}, {"converted", s.pagesConverted}, {"skipped", s.skipped}});
    report.Write();
    const int status = EndOf(outcome, settings, "uncache", context.messages,
                             "uncache stopped; the copies made so far were removed");
    if (status != kExitDone) return status;

    // Browsers show the index's .RSH and .RSI pages as pages only once the type is known.
    if (!noRegister_) RegisterRshType();
    if (view_) ViewIndex(context, settings, s.viewIndex);
    if (!context.messages.Quiet())
        context.out << "Copied " << Count(s.filesCopied, "file", "files") << ", converted "
                    << Count(s.pagesConverted, "page", "pages") << ", skipped " << s.skipped
                    << "; index page: " << FileURL(AbsolutePath(settings.IndexPagePath())) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
