#include "core/jobs/search_job.h"

#include <algorithm>

#include "core/jobs/chosen_part.h"
#include "core/jobs/job_texts.h"
#include "core/jobs/output_overlap.h"
#include "core/offline/offline_build.h"
#include "core/offline/offline_lock.h"
#include "core/offline/offline_names.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash {

SearchJob::SearchJob(SearchRequest request, Services services, SearchCounts counts)
    : request_(std::move(request)), services_(services), counts_(std::move(counts)) {}

Outcome<SearchSummary> SearchJob::Run() {
    const std::string pageList = request_.offlineDir + kPageList;
    const JobPaths paths{request_.cacheIndex, {}, request_.offlineDir, {request_.offlineDir + kResultsPage}};
    if (auto overlap = CheckOutputsApart(paths)) return Outcome<SearchSummary>::Failed(*overlap);
    auto noPageList = [&] { return Outcome<SearchSummary>::Failed({FailureCode::NoPageList, kCreateIndexFirst, pageList}); };
    if (!IsDirectory(OfflineParent(request_.offlineDir))) return noPageList();
    try {
        const OfflineLock lock(services_.fs, request_.offlineDir);
        // A copy a killed run left aside is put back first.
        RecoverOffline(services_.fs, request_.offlineDir);
        if (!IsFile(pageList)) return noPageList();
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
