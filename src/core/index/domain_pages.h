#pragma once
// What both index forms read before they write, and the loop that replaces
// each chosen domain's page n.RSH. The page list is walked once to group its
// entries by domain and the copied files once to group their media, so the
// work grows with the list, not with the list times the domains.
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/index/index_inputs.h"
#include "core/index/media_lists.h"
#include "core/offline/page_list.h"

namespace restash {

// One record of the page list as the index pages use it.
struct PageEntry {
    std::string url;
    std::string domain;  // DomainOf(url), letter case kept
    std::string title;   // as in the list; each index form cuts it its own way
    std::string localName;
};

std::vector<PageEntry> ReadPageEntries(const std::string& path);

// The entries of each exact domain (letter case included), in list order,
// found in one pass over the list.
using PagesByDomain = std::unordered_map<std::string, std::vector<const PageEntry*>>;
PagesByDomain GroupByDomain(const std::vector<PageEntry>& entries);

// Moves keep the entries where they are, so the groups stay valid; copies
// would not, so there are none.
struct IndexSources {
    IndexSources() = default;
    IndexSources(IndexSources&&) = default;
    IndexSources(const IndexSources&) = delete;
    IndexSources& operator=(const IndexSources&) = delete;

    std::vector<PageEntry> entries;  // HTMINDEX.HTM as the run left it
    PagesByDomain pages;             // points into entries
    MediaByDomain media;
};

// Reads the page list from the offline root's HTMINDEX.HTM.
IndexSources LoadIndexSources(const IndexInputs& in);

using DomainPageWriter = std::function<void(OutputFile& out, std::size_t number,
                                            const std::vector<const PageEntry*>& pages,
                                            const std::vector<std::string>& media)>;

// Replaces n.RSH of every chosen domain n with what write puts in it.
void WriteDomainPages(const IndexInputs& in, const IndexSources& sources, const DomainPageWriter& write);

}  // namespace restash
