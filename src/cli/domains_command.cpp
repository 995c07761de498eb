#include "cli/domains_command.h"

#include <nlohmann/json.hpp>

#include "cli/job_outcome.h"
#include "cli/selection_flags.h"
#include "cli/text_output.h"
#include "core/jobs/list_job.h"

namespace restash::cli {

DomainsCommand::DomainsCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("domains", "The domains of the cache with their counts of text, media and other files");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    app_->add_option("--format", format_, "Output format")
        ->check(CLI::IsMember({"text", "json"}));
}

int DomainsCommand::Run(RunContext& context) {
    ListJob job({SettingsWithCache(context.global, cacheFile_), false, selection_}, context.services);
    const Outcome<ListSummary> outcome = job.Run();
    context.progress.Clear();
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, context.messages);
    const std::vector<DomainTally>& chosen = outcome.summary.domains;
    if (format_ == "json") {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const DomainTally& t : chosen)
            list.push_back({{"domain", Latin1ToUtf8(t.Domain)},
                            {"text", t.TextCount},
                            {"media", t.MediaCount},
                            {"other", t.OtherCount}});
        context.out << list.dump(2) << '\n';
    } else {
        TextTable table({"DOMAIN", "TEXT", "MEDIA", "OTHER"}, {false, true, true, true});
        for (const DomainTally& t : chosen)
            table.Add({t.Domain, std::to_string(t.TextCount), std::to_string(t.MediaCount),
                       std::to_string(t.OtherCount)});
        table.Print(context.out);
    }
    return kExitDone;
}

}  // namespace restash::cli
