#include "cli/domains_command.h"

#include <nlohmann/json.hpp>

#include "cli/job_outcome.h"
#include "cli/locale_text.h"
#include "cli/text_output.h"
#include "cli/words.h"
#include "core/jobs/list_job.h"

namespace restash::cli {

DomainsCommand::DomainsCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("domains", "The domains of the cache with their counts of text, media and other files");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    app_->add_option("--format", format_, "Output format: text, json or csv")
        ->check(CLI::IsMember({"text", "json", "csv"}));
}

namespace {

void Print(const std::vector<DomainTally>& chosen, const std::string& format, std::ostream& out) {
    if (format == "json") {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const DomainTally& t : chosen)
            list.push_back({{"domain", Latin1ToUtf8(t.Domain)},
                            {"text", t.TextCount},
                            {"media", t.MediaCount},
                            {"other", t.OtherCount}});
        out << list.dump(2) << '\n';
    } else if (format == "csv") {
        out << "domain,text,media,other\r\n";
        for (const DomainTally& t : chosen)
            out << CsvField(Latin1ToUtf8(t.Domain)) << ',' << t.TextCount << ',' << t.MediaCount << ','
                << t.OtherCount << "\r\n";
    } else {
        TextTable table({"DOMAIN", "TEXT", "MEDIA", "OTHER"}, {false, true, true, true});
        for (const DomainTally& t : chosen)
            table.Add({t.Domain, std::to_string(t.TextCount), std::to_string(t.MediaCount),
                       std::to_string(t.OtherCount)});
        table.Print(out);
    }
}

}  // namespace

int DomainsCommand::Run(RunContext& context) {
    Settings settings = SettingsWithCache(context.global, cacheFile_);
    ApplyGmt(settings, selection_);
    const Outcome<ListSummary> outcome =
        ListJob({settings, false, ForCache(selection_)}, context.services).Run();
    context.progress.Clear();
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, settings, "list", context.messages);
    PrintWarnings(outcome.warnings, outcome.leftOut, settings, context.messages);
    Print(outcome.summary.domains, format_, context.out);
    if (outcome.summary.domains.empty())
        context.messages.PrintNote("No domain has files in the selection; " +
                                   CacheDatesText(outcome.summary.cacheDates, settings.GMT) + ".");
    return kExitDone;
}

}  // namespace restash::cli
