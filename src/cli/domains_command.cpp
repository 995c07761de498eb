#include "cli/domains_command.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

#include "cli/cache_entries.h"
#include "cli/exit_codes.h"
#include "cli/selection_flags.h"
#include "cli/text_output.h"

namespace restash::cli {

DomainsCommand::DomainsCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("domains", "The domains of the cache with their counts of text, media and other files");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    app_->add_option("--format", format_, "Output format")
        ->check(CLI::IsMember({"text", "json"}));
}

int DomainsCommand::Run(RunContext& context) {
    Settings settings = LoadCliSettings(context.global);
    if (cacheFile_) UseCacheIndex(settings, *cacheFile_);
    CacheSelection model(context.progress);
    LoadSelection(model, settings, OpenCacheSource(settings.CacheIndexPath()), selection_, context.clock);

    // The chosen list, in its order, with each domain's tally of the age window.
    std::unordered_map<std::string, const DomainTally*> tallyOf;
    for (const DomainTally& t : model.Tallies()) tallyOf.emplace(t.Domain, &t);
    std::vector<const DomainTally*> chosen;
    for (const NameItem& item : model.Chosen().Items())
        if (const auto it = tallyOf.find(item.name); it != tallyOf.end()) chosen.push_back(it->second);

    if (format_ == "json") {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const DomainTally* t : chosen)
            list.push_back({{"domain", Latin1ToUtf8(t->Domain)},
                            {"text", t->TextCount},
                            {"media", t->MediaCount},
                            {"other", t->OtherCount}});
        context.out << list.dump(2) << '\n';
    } else {
        TextTable table({"DOMAIN", "TEXT", "MEDIA", "OTHER"}, {false, true, true, true});
        for (const DomainTally* t : chosen)
            table.Add({t->Domain, std::to_string(t->TextCount), std::to_string(t->MediaCount),
                       std::to_string(t->OtherCount)});
        table.Print(context.out);
    }
    return kExitDone;
}

}  // namespace restash::cli
