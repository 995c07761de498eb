#include "core/jobs/list_job.h"

#include <filesystem>
#include <unordered_map>

#include "core/jobs/chosen_part.h"
#include "core/platform/error.h"

namespace restash {

ListJob::ListJob(ListRequest request, Services services) : request_(std::move(request)), services_(services) {}

Outcome<ListSummary> ListJob::Run() {
    try {
        if (request_.domains) return ListDomains();
        if (request_.entries.Narrows()) return ListChosenEntries();
        const auto source = OpenCacheSource(request_.settings.CacheIndexPath());
        Outcome<ListSummary> o;
        if (auto warning = WarnIfBrowserReads(request_.settings, services_)) o.warnings.push_back(*warning);
        CacheRead read = source->Read(o.summary.entries, services_.progress, {request_.includeAbsent});
        o.summary.format = source->Traits().format;
        o.summary.family = source->Traits().family;
        if (read.ending == Ending::Stopped) return Outcome<ListSummary>::Stopped();
        ShowWarnings(read.warnings, services_.messages, o.warnings);
        AddBodySizes(*source, o.summary);
        return o;
    } catch (const Error& e) {
        return Outcome<ListSummary>::Failed(ErrorFailure(e));
    }
}

Outcome<ListSummary> ListJob::ListChosenEntries() {
    SelectionRequest request{nullptr, request_.entries};
    if (!request.options.types) request.options.types = "text,media,other";
    ChosenPart part(request, services_);
    ReadChecks checks;
    checks.browser = BrowserCheck::Warn;
    checks.includeAbsent = request_.includeAbsent;
    const JobStatus prepared = part.Prepare(request_.settings, checks);
    if (prepared == JobStatus::Stopped) return Outcome<ListSummary>::Stopped();
    if (prepared == JobStatus::Failed) return Outcome<ListSummary>::Failed(part.failure());
    const CacheSelection& state = part.State();
    const Selection selection = state.Current();
    Outcome<ListSummary> o;
    o.summary.format = state.Traits().format;
    o.summary.family = state.Source()->Traits().family;
    o.summary.cacheDates = EntryDates(state.Entries());
    o.warnings = part.CacheWarnings();
    for (const CacheEntry& e : state.Entries())
        if (IsSelected(e, selection)) o.summary.entries.push_back(e);
    AddBodySizes(*state.Source(), o.summary);
    return o;
}

void ListJob::AddBodySizes(const CacheSource& source, ListSummary& summary) const {
    if (!request_.bodySizes) return;
    const std::unique_ptr<BodyLookup> bodies = source.Bodies();
    summary.sizes.reserve(summary.entries.size());
    for (const CacheEntry& e : summary.entries) {
        std::optional<std::uint64_t> size;
        const std::unique_ptr<EntryBody> body = bodies->Find(e);
        std::error_code ec;
        if (body && body->PlainFile()) {
            const std::uintmax_t bytes = std::filesystem::file_size(*body->PlainFile(), ec);
            if (!ec) size = bytes;
        }
        summary.sizes.push_back(size);
    }
}

Outcome<ListSummary> ListJob::ListDomains() {
    const SelectionRequest request{nullptr, *request_.domains};
    ChosenPart part(request, services_);
    const JobStatus prepared = part.Prepare(request_.settings, {BrowserCheck::Warn});
    if (prepared == JobStatus::Stopped) return Outcome<ListSummary>::Stopped();
    if (prepared == JobStatus::Failed) return Outcome<ListSummary>::Failed(part.failure());
    const CacheSelection& state = part.State();
    Outcome<ListSummary> o;
    o.summary.format = state.Traits().format;
    o.summary.cacheDates = EntryDates(state.Entries());
    o.summary.family = state.Source()->Traits().family;
    o.warnings = part.CacheWarnings();
    // The chosen list, in its order, with each domain's tally of the age window.
    std::unordered_map<std::string, const DomainTally*> tallyOf;
    for (const DomainTally& t : state.Tallies()) tallyOf.emplace(t.Domain, &t);
    for (const NameItem& item : state.Chosen().Items())
        if (const auto it = tallyOf.find(item.name); it != tallyOf.end()) o.summary.domains.push_back(*it->second);
    return o;
}

}  // namespace restash
