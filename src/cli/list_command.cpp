#include "cli/list_command.h"

#include <nlohmann/json.hpp>

#include "cli/job_outcome.h"
#include "cli/text_output.h"
#include "core/jobs/list_job.h"

namespace restash::cli {

ListCommand::ListCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("list", "The cache entry list, in the order the index gives it");
    AddCacheOption(*app_, cacheFile_);
    app_->add_option("--format", format_, "Output format")
        ->check(CLI::IsMember({"text", "json", "csv"}));
}

namespace {

void PrintJson(const ListSummary& cache, std::ostream& out) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const CacheEntry& e : cache.entries) {
        list.push_back({{"stamp", e.Stamp},
                        {"file", Latin1ToUtf8(e.Body.Name)},
                        {"url", Latin1ToUtf8(e.Url)},
                        {"mime", Latin1ToUtf8(e.MimeType)},
                        {"domain", Latin1ToUtf8(e.Domain)},
                        {"category", CategoryName(e.category)},
                        {"format", IndexFormatName(cache.format)},
                        {"family", cache.family}});
    }
    out << list.dump(2) << '\n';
}

void PrintCsv(const ListSummary& cache, std::ostream& out) {
    out << "stamp,file,url,mime,domain,category,format,family\r\n";
    const std::string format = CsvField(IndexFormatName(cache.format)) + ',' + CsvField(cache.family);
    for (const CacheEntry& e : cache.entries) {
        out << e.Stamp << ',' << CsvField(Latin1ToUtf8(e.Body.Name)) << ',' << CsvField(Latin1ToUtf8(e.Url)) << ','
            << CsvField(Latin1ToUtf8(e.MimeType)) << ',' << CsvField(Latin1ToUtf8(e.Domain)) << ','
            << CategoryName(e.category) << ',' << format << "\r\n";
    }
}

void PrintText(const CacheEntryList& entries, std::ostream& out) {
    TextTable table({"STAMP", "FILE", "MIME", "CATEGORY", "DOMAIN", "URL"}, {true});
    for (const CacheEntry& e : entries)
        table.Add({std::to_string(e.Stamp), e.Body.Name, e.MimeType, CategoryName(e.category), e.Domain, e.Url});
    table.Print(out);
}

}  // namespace

int ListCommand::Run(RunContext& context) {
    ListJob job({SettingsWithCache(context.global, cacheFile_), false, std::nullopt}, context.services);
    const Outcome<ListSummary> outcome = job.Run();
    context.progress.Clear();
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, context.messages);
    const CacheEntryList& entries = outcome.summary.entries;
    if (format_ == "json") {
        PrintJson(outcome.summary, context.out);
    } else if (format_ == "csv") {
        PrintCsv(outcome.summary, context.out);
    } else {
        context.messages.Information(std::string(IndexFormatName(outcome.summary.format)) + " of " +
                                     outcome.summary.family);
        PrintText(entries, context.out);
    }
    return kExitDone;
}

}  // namespace restash::cli
