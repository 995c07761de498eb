#pragma once
// The offline search: finds, among the pages of the last run (the page list
// "HTMLIST" in the offline root), those whose text holds a string, writes the
// hits as the results page "RESULTS.RSH" and tells the user how it went.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/offline/copied_files.h"
#include "core/platform/file_system.h"
#include "core/platform/messages.h"
#include "core/platform/progress.h"

namespace restash {

struct SearchResult {
    bool searched = false;             // false: fewer than two characters, nothing was searched or written
    Ending ending = Ending::Finished;  // Stopped: the user stopped it; the results page says so
    std::string searchText;  // the string in upper case, as the results page shows it
    std::uint64_t pagesRead = 0;
    std::uint64_t pagesFound = 0;
    std::vector<CopiedFile> hits;  // the pages found, as the page list gives them (the title whole)
};

// Called after each page that was opened, with the pages read and found so far.
using SearchCounts = std::function<void(std::uint64_t pagesRead, std::uint64_t pagesFound)>;

struct SearchServices {
    FileSystem& fs;
    ProgressSink& progress;  // ProcessMessages() once per page opened; false cancels after that page
    Messages& messages;      // the closing message (none after a cancel)
    SearchCounts counts = {};
};

// Searches the pages listed in offlineDir + "HTMLIST" (offlineDir ends in
// "/") and replaces offlineDir + "RESULTS.RSH" with the results, written
// completely before it takes the old one's place.
SearchResult SearchOfflinePages(const std::string& offlineDir, std::string_view text, SearchServices services);

// The number of pages "HTMLIST" lists: its lines divided by three.
std::uint64_t CountListedPages(const std::string& offlineDir);

}  // namespace restash
