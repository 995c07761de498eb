#include "cli/domains_command.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/cache_entries.h"
#include "cli/exit_codes.h"
#include "cli/text_output.h"
#include "core/platform/text.h"
#include "core/selection/domain_tally.h"

namespace restash::cli {

DomainsCommand::DomainsCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("domains", "The domains of the cache with their counts of text, media and other files");
    AddCacheOption(*app_, cacheFile_);
    app_->add_option("--format", format_, "Output format")
        ->check(CLI::IsMember({"text", "json"}));
}

int DomainsCommand::Run(RunContext& context) {
    const CacheEntryList entries = ReadEntries(context.global, cacheFile_, context.progress);
    // The selection window starts with "All ages".
    DomainTallyList tallies = TallyDomains(entries, 0, kNoUpperLimit);
    std::stable_sort(tallies.begin(), tallies.end(), [](const DomainTally& a, const DomainTally& b) {
        return CompareNoCase(a.Domain, b.Domain) < 0;
    });

    if (format_ == "json") {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const DomainTally& t : tallies)
            list.push_back({{"domain", Latin1ToUtf8(t.Domain)},
                            {"text", t.TextCount},
                            {"media", t.MediaCount},
                            {"other", t.OtherCount}});
        context.out << list.dump(2) << '\n';
    } else {
        TextTable table({"DOMAIN", "TEXT", "MEDIA", "OTHER"}, {false, true, true, true});
        for (const DomainTally& t : tallies)
            table.Add({t.Domain, std::to_string(t.TextCount), std::to_string(t.MediaCount),
                       std::to_string(t.OtherCount)});
        table.Print(context.out);
    }
    return kExitDone;
}

}  // namespace restash::cli
