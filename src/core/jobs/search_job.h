#pragma once
// The Search job: the offline pages of the last uncaching run whose text holds
// a string; the hits come back and go to the results page RESULTS.RSH.
#include <cstdint>
#include <string>
#include <vector>

#include "core/jobs/outcome.h"
#include "core/jobs/services.h"
#include "core/search/offline_search.h"

namespace restash {

inline constexpr const char* kPhaseSearching = "Searching";

struct SearchRequest {
    std::string offlineDir;  // the offline root, ending in "/"
    std::string text;        // at least two characters, or nothing is searched
    std::string cacheIndex;  // the cache of the settings, which the results page must not land in (empty: none)
};

struct SearchSummary {
    bool searched = false;     // false: the text was too short; nothing was searched or written
    std::string searchText;    // the text in upper case, as the results page shows it
    std::uint64_t pagesListed = 0;
    std::uint64_t pagesRead = 0;
    std::uint64_t pagesFound = 0;
    std::vector<CopiedFile> hits;
};

class SearchJob {
public:
    // counts, when given, hears the pages read and found after each page.
    SearchJob(SearchRequest request, Services services, SearchCounts counts = {});

    // Failed (NoPageList) when no run left a page list, (Overlap) when the
    // results page would land in the cache, (InUse) while another process
    // writes in the offline folder: the search holds its lock. A stop ends
    // the search after the page at hand: the outcome is Stopped, with the
    // hits found by then, and the results page says the search was aborted.
    Outcome<SearchSummary> Run();

private:
    SearchRequest request_;
    Services services_;
    SearchCounts counts_;
};

}  // namespace restash
