#include "cli/search_command.h"

#include <algorithm>

#include "cli/exit_codes.h"
#include "cli/global_options.h"
#include "cli/shell_texts.h"
#include "cli/text_output.h"
#include "core/app/browser_bridge.h"
#include "core/search/offline_search.h"

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
    if (!IsFile(settings.PageListPath())) {
        context.messages.ShowError(std::string(kCreateIndexFirst) + "\rNo page list at " + settings.PageListPath() +
                                   "; 'restash-cli uncache' makes one.");
        return kExitError;
    }

    const std::uint64_t total = CountListedPages(settings.OfflineDir);
    context.progress.Phase("Searching");
    auto counts = [&](std::uint64_t read, std::uint64_t /*found*/) {
        if (total > 0) context.progress.Gauge(static_cast<int>(std::min<std::uint64_t>(read, total) * 100 / total));
    };
    const SearchResult result =
        SearchOfflinePages(settings.OfflineDir, text_, {RealFileSystem(), context.progress, context.messages, counts});
    context.progress.Clear();

    for (const SearchHit& hit : result.hits) context.out << SafeText(hit.title) << '\t' << SafeText(hit.url) << '\n';
    if (result.status == SearchStatus::Cancelled) {
        context.messages.Information("Search stopped; the results page lists the pages found so far.");
        return kExitStopped;
    }
    if (result.pagesFound > 0)
        context.messages.Information("Results page: " + FileURL(AbsolutePath(settings.OfflineDir + kResultsPage)));
    return kExitDone;
}

}  // namespace restash::cli
