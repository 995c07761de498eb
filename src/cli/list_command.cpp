#include "cli/list_command.h"

#include <nlohmann/json.hpp>

#include "cli/job_outcome.h"
#include "cli/locale_text.h"
#include "cli/text_output.h"
#include "cli/words.h"
#include "core/jobs/list_job.h"

namespace restash::cli {

ListCommand::ListCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("list",
                                 "The cache's entries in the order the index gives them, or those the selection "
                                 "chooses (every kind unless --types is given)");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_, true);
    app_->add_flag("--all", all_, "Also the entries whose cache file is gone (present: false)");
    app_->add_option("--format", format_, "Output format: text, json or csv")
        ->check(CLI::IsMember({"text", "json", "csv"}));
}

namespace {

using Json = nlohmann::ordered_json;

using Fact = std::pair<const char*, Json>;

// Every fact of an entry, as JSON values: null where the index form has none.
std::vector<Fact> Facts(const CacheEntry& e, const std::optional<std::uint64_t>& size, const ListSummary& list) {
    const auto number = [](const auto& v) { return v ? Json(*v) : Json(); };
    const auto date = [](const std::optional<std::int32_t>& v) { return v && *v != 0 ? Json(IsoUtcOf(*v)) : Json(); };
    const auto text = [](const std::string& v) { return v.empty() ? Json() : Json(Latin1ToUtf8(v)); };
    return {{"stamp", e.Stamp},
            {"stamp_utc", IsoUtcOf(e.Stamp)},
            {"file", Latin1ToUtf8(e.Body.Name)},
            {"url", Latin1ToUtf8(e.Url)},
            {"mime", Latin1ToUtf8(e.MimeType)},
            {"domain", Latin1ToUtf8(e.Domain)},
            {"category", CategoryName(e.category)},
            {"present", e.Body.Present},
            {"size", number(size)},
            {"last_modified", number(e.LastModified)},
            {"last_modified_utc", date(e.LastModified)},
            {"expires", number(e.Expires)},
            {"expires_utc", date(e.Expires)},
            {"content_length", number(e.ContentLength)},
            {"content_encoding", text(e.ContentEncoding)},
            {"charset", text(e.Charset)},
            {"incomplete", number(e.IncompleteFile)},
            {"record_version", number(e.RecordVersion)},
            {"format", IndexFormatName(list.format)},
            {"family", list.family}};
}

void PrintJson(const ListSummary& list, std::ostream& out) {
    Json rows = Json::array();
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        Json row = Json::object();
        for (auto& [name, value] : Facts(list.entries[i], list.sizes[i], list)) row[name] = std::move(value);
        rows.push_back(std::move(row));
    }
    out << rows.dump(2) << '\n';
}

// A JSON value as a CSV field: strings as they are, null as nothing.
std::string CsvValue(const Json& value) {
    if (value.is_null()) return "";
    if (value.is_string()) return CsvField(value.get<std::string>());
    return value.dump();
}

void PrintCsv(const ListSummary& list, std::ostream& out) {
    std::string line;
    for (const Fact& fact : Facts(CacheEntry{}, std::nullopt, list)) line += (line.empty() ? "" : ",") + std::string(fact.first);
    out << line << "\r\n";
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        line.clear();
        bool first = true;
        for (const Fact& fact : Facts(list.entries[i], list.sizes[i], list)) {
            line += (first ? "" : ",") + CsvValue(fact.second);
            first = false;
        }
        out << line << "\r\n";
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
    Settings settings = SettingsWithCache(context.global, cacheFile_);
    ApplyGmt(settings, selection_);
    ListRequest request{settings, all_, std::nullopt, ForCache(selection_), format_ != "text"};
    const Outcome<ListSummary> outcome = ListJob(request, context.services).Run();
    context.progress.Clear();
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, settings, "list", context.messages);
    PrintWarnings(outcome.warnings, outcome.leftOut, settings, context.messages);
    const ListSummary& list = outcome.summary;
    if (format_ == "json")
        PrintJson(list, context.out);
    else if (format_ == "csv")
        PrintCsv(list, context.out);
    else {
        context.messages.PrintNote(std::string(IndexFormatName(list.format)) + " of " + list.family);
        PrintText(list.entries, context.out);
    }
    if (list.entries.empty() && request.entries.Narrows())
        context.messages.PrintNote("No entry matches the selection; " + CacheDatesText(list.cacheDates, settings.GMT) +
                                   ".");
    return kExitDone;
}

}  // namespace restash::cli
