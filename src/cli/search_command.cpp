#include "cli/search_command.h"

#include "cli/cli_texts.h"
#include "cli/job_outcome.h"
#include "cli/text_output.h"
#include "core/app/browser_bridge.h"
#include "core/jobs/search_job.h"
#include "core/platform/paths.h"

namespace restash::cli {

SearchCommand::SearchCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("search", "Finds the offline pages whose text holds TEXT (letter case ignored)");
    app_->add_option("--offline", offlineFolder_,
                     "The folder that holds the offline copy, in its subfolder OFFLINE (default: the offlinedir "
                     "setting)")
        ->type_name("DIR");
    app_->add_option("TEXT", text_, "The text to look for: at least two characters")
        ->required()
        ->check(CLI::Validator(
            [](std::string& text) {
                // The search window quietly ignores a shorter text; here the user learns why nothing happened.
                return text.size() < 2 ? std::string("the search text must have at least two characters")
                                       : std::string();
            },
            "", "TEXT"));
}

int SearchCommand::Run(RunContext& context) {
    Settings settings = LoadCliSettings(context.global);
    if (offlineFolder_) UseOfflineFolder(settings, *offlineFolder_);
    SearchJob job({settings.OfflineDir, text_, settings.CacheIndexPath()}, context.services);
    const Outcome<SearchSummary> outcome = job.Run();
    context.progress.Clear();
    if (outcome.status == JobStatus::Failed) return EndOf(outcome, context.messages);

    for (const CopiedFile& hit : outcome.summary.hits)
        context.out << SafeText(hit.title) << '\t' << SafeText(hit.url) << '\n';
    if (outcome.status == JobStatus::Stopped) {
        context.messages.Information(kSearchStopped);
        return kExitStopped;
    }
    if (outcome.summary.pagesFound > 0)
        context.messages.Information("Results page: " + FileURL(AbsolutePath(settings.OfflineDir + kResultsPage)));
    return kExitDone;
}

}  // namespace restash::cli
