#include "cli/delete_command.h"

#include <unistd.h>

#include <iostream>

#include "cli/job_outcome.h"
#include "cli/locale_text.h"
#include "cli/run_report.h"
#include "cli/text_output.h"
#include "cli/words.h"
#include "core/jobs/delete_job.h"

namespace restash::cli {

DeleteCommand::DeleteCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("delete", "Deletes the chosen part of the cache, after asking");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    app_->add_flag("-y,--yes", yes_, "Delete without asking (needed when standard input is no terminal)");
    app_->add_flag("--dry-run", dryRun_,
                   "Show each cache file the deletion would remove and the index lines it would drop; change nothing");
    AddReportOption(*app_, report_);
}

namespace {

std::string Totals(const DeletePlan& plan) {
    std::string text = Count(plan.removal.bodies.size(), "cache file", "cache files");
    if (plan.rewritesIndex) text += " and drop " + Count(plan.removal.indexLines.size(), "index line", "index lines");
    return text;
}

nlohmann::ordered_json PlanJson(const DeletePlan& plan) {
    nlohmann::ordered_json files = nlohmann::ordered_json::array(), lines = nlohmann::ordered_json::array();
    for (const PlannedBody& b : plan.removal.bodies) files.push_back({{"path", b.path}, {"url", Latin1ToUtf8(b.url)}});
    for (const PlannedLine& l : plan.removal.indexLines)
        lines.push_back({{"line", l.number}, {"text", Latin1ToUtf8(l.text)}, {"url", Latin1ToUtf8(l.url)}});
    return {{"files", files}, {"index_lines", lines}, {"whole_cache", plan.wholeCache}};
}

}  // namespace

int DeleteCommand::DryRun(RunContext& context, const Settings& settings, RunReport& report) {
    const Outcome<DeletePlan> outcome =
        DeleteJob({settings, {nullptr, ForCache(selection_), report_.has_value()}}, context.services).Plan();
    context.progress.Clear();
    report.SetOutcome(outcome, settings, "delete");
    if (outcome.status == JobStatus::Completed) report.Set("planned", PlanJson(outcome.summary));
    report.Write();
    const int status = EndOf(outcome, settings, "delete", context.messages);
    if (status != kExitDone) return status;
    const DeletePlan& plan = outcome.summary;
    TextTable table({"ACTION", "WHAT", "URL"});
    table.SetLocaleColumns({false, true, false});
    for (const PlannedBody& b : plan.removal.bodies) table.Add({"delete", b.path, b.url});
    for (const PlannedLine& l : plan.removal.indexLines) table.Add({"drop", "line " + std::to_string(l.number), l.url});
    table.Print(context.out);
    if (!context.messages.Quiet())
        context.out << "Would delete " << Totals(plan) << (plan.wholeCache ? " (the whole cache)" : "")
                    << "; nothing was changed.\n";
    return kExitDone;
}

// The question, with what the deletion would take; the job then runs with
// the answer given.
bool DeleteCommand::Confirmed(RunContext& context, const Settings& settings) {
    const Outcome<DeletePlan> plan =
        DeleteJob({settings, {nullptr, ForCache(selection_), false}}, context.services).Plan();
    context.progress.Clear();
    if (plan.status != JobStatus::Completed) return true;  // the job itself says why it cannot work
    const std::string question = "Delete " + Totals(plan.summary) + " from " + settings.CacheDir +
                                 (plan.summary.wholeCache ? "? This is the whole cache." : "?");
    return context.messages.Confirm(question, std::cin);
}

int DeleteCommand::Run(RunContext& context) {
    Settings settings = SettingsWithCache(context.global, cacheFile_);
    ApplyGmt(settings, selection_);
    RunReport report(context, report_, "delete");
    report.SetCache(settings.CacheIndexPath());
    report.SetSelection(selection_, settings);
    if (dryRun_) return DryRun(context, settings, report);
    if (!yes_ && ::isatty(STDIN_FILENO) != 1)
        throw UsageError("delete asks before it deletes, and standard input is no terminal: add --yes to delete "
                         "without asking, or --dry-run to see what it would delete");
    if (!yes_ && !Confirmed(context, settings)) {
        if (InterruptRequested()) return kExitStopped;
        context.messages.PrintError("nothing deleted");
        return kExitError;
    }
    context.messages.SetAnswer(Answer::Yes);
    const Outcome<DeleteSummary> outcome =
        DeleteJob({settings, {nullptr, ForCache(selection_), report_.has_value()}}, context.services).Run();
    context.progress.Clear();
    const DeleteSummary& s = outcome.summary;
    report.SetOutcome(outcome, settings, "delete");
    report.Set("counts", {{"entries", s.entriesRemoved}, {"files", s.bodiesRemoved}});
    if (s.indexRewritten) report.Set("cache_index_after", {{"sha256", FileSha256(settings.CacheIndexPath()).value_or("")}});
    report.Write();
    const int status = EndOf(outcome, settings, "delete", context.messages);
    if (status != kExitDone) return status;
    if (!context.messages.Quiet()) {
        context.out << "Deleted " << Count(s.bodiesRemoved, "cache file", "cache files");
        if (s.indexRewritten) context.out << " and " << Count(s.entriesRemoved, "index line", "index lines");
        context.out << ".\n";
    }
    for (const LeftOut& l : outcome.leftOut)
        if (l.reason == LeftOutReason::NotRemovable) return kExitError;
    return kExitDone;
}

}  // namespace restash::cli
