#include "cli/search_command.h"

#include "cli/job_outcome.h"
#include "cli/locale_text.h"
#include "cli/run_report.h"
#include "cli/words.h"
#include "core/app/browser_bridge.h"
#include "core/jobs/search_job.h"
#include "core/offline/offline_names.h"
#include "core/platform/paths.h"

namespace restash::cli {

namespace {
constexpr int kExitNotFound = 1;
constexpr int kExitTrouble = 2;
}  // namespace

SearchCommand::SearchCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("search", "Finds the offline pages whose text holds TEXT (letter case ignored)");
    AddOfflineOption(*app_, offlineFolder_);
    app_->add_option("TEXT", text_, "The text to look for: at least two characters")->required();
    AddReportOption(*app_, report_);
    app_->footer("Exit status: 0 a page was found, 1 none was, 2 error or bad usage, 130 stopped (Ctrl-C).");
}

int SearchCommand::Run(RunContext& context) {
    // The core looks for the words in each page's own character set.
    const std::string text = ToUtf8Text(text_, "the search text");
    // The search window quietly ignores a shorter text; here the user learns why nothing happened.
    if (TerminalWidth(LocaleLine(text_)) < 2) throw UsageError("the search text must have at least two characters");
    Settings settings = LoadCliSettings(context.global);
    if (offlineFolder_) UseOfflineFolder(settings, *offlineFolder_);
    RunReport report(context, report_, "search");
    report.SetOfflineRoot(settings.OfflineDir);
    report.Set("search_text", text);

    const Outcome<SearchSummary> outcome = SearchJob({settings.OfflineDir, text, settings.CacheIndexPath()}, context.services).Run();
    context.progress.Clear();
    const SearchSummary& s = outcome.summary;
    report.SetOutcome(outcome, settings, "search");
    report.Set("counts", {{"listed", s.pagesListed}, {"read", s.pagesRead}, {"found", s.pagesFound}});
    nlohmann::ordered_json hits = nlohmann::ordered_json::array();
    for (const CopiedFile& hit : s.hits)
        hits.push_back({{"title", MixedToUtf8(hit.title)}, {"url", Latin1ToUtf8(hit.url)}, {"page", hit.path}});
    report.Set("found", hits);
    report.Write();
    if (outcome.status == JobStatus::Failed) {
        PrintFailure(outcome.failure, settings, "search", context.messages);
        return kExitTrouble;  // grep's status for trouble, whatever the failure
    }

    if (!context.messages.Quiet())
        for (const CopiedFile& hit : s.hits) context.out << Utf8ToTerminal(hit.title) << '\t' << ToTerminal(hit.url) << '\n';
    if (outcome.status == JobStatus::Stopped) {
        context.messages.PrintError("search stopped; the results page lists the pages found so far");
        return kExitStopped;
    }
    const std::string results = FileURL(AbsolutePath(settings.OfflineDir + kResultsPage));
    if (s.pagesFound == 0) {
        context.messages.PrintNote("'" + Utf8ToTerminal(text) + "' was not found in " +
                                   Count(s.pagesRead, "page", "pages") + "; results page: " + results);
        return kExitNotFound;
    }
    context.messages.PrintNote(Count(s.pagesFound, "page", "pages") + " of " + std::to_string(s.pagesRead) +
                               " found; results page: " + results);
    return kExitDone;
}

}  // namespace restash::cli
