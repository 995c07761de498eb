#include "core/jobs/search_job.h"

#include <algorithm>

#include "core/jobs/chosen_part.h"
#include "core/jobs/job_texts.h"
#include "core/offline/offline_names.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash {

SearchJob::SearchJob(SearchRequest request, Services services, SearchCounts counts)
    : request_(std::move(request)), services_(services), counts_(std::move(counts)) {}

Outcome<SearchSummary> SearchJob::Run() {
    const std::string pageList = request_.offlineDir + kPageList;
    if (!IsFile(pageList)) return Outcome<SearchSummary>::Failed({FailureCode::NoPageList, kCreateIndexFirst, pageList});
    try {
        const std::uint64_t total = CountListedPages(request_.offlineDir);
        services_.progress.Phase(kPhaseSearching);
        auto counts = [&](std::uint64_t read, std::uint64_t found) {
            if (total > 0) services_.progress.Gauge(static_cast<int>(std::min(read, total) * 100 / total));
            if (counts_) counts_(read, found);
        };
        SearchResult result = SearchOfflinePages(request_.offlineDir, request_.text,
                                                 {services_.fs, services_.progress, services_.messages, counts});
        Outcome<SearchSummary> o;
        if (result.ending == Ending::Stopped) o.status = JobStatus::Stopped;
        o.summary = {result.searched, std::move(result.searchText), total, result.pagesRead, result.pagesFound,
                     std::move(result.hits)};
        return o;
    } catch (const Error& e) {
        return Outcome<SearchSummary>::Failed(ErrorFailure(e));
    }
}

}  // namespace restash
