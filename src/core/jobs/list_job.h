#pragma once
// The List job: a cache's entries in the order its source reads them, or the
// domains the selection options choose, each with its counts of text, media
// and other entries in the age window.
#include <optional>
#include <vector>

#include "core/app/settings.h"
#include "core/cache/cache_entry.h"
#include "core/jobs/outcome.h"
#include "core/jobs/services.h"
#include "core/selection/date_window.h"
#include "core/selection/domain_tally.h"
#include "core/selection/selection_options.h"

namespace restash {

struct ListRequest {
    Settings settings;           // the cache index; the GMT adjustment for the age window
    bool includeAbsent = false;  // also the entries whose body is missing
    // When set, the domains these options choose are listed instead of the entries.
    std::optional<SelectionOptions> domains;
    // When they narrow the choice, only the entries these options choose
    // are listed (an unset type list takes every kind); otherwise every entry.
    SelectionOptions entries{};
    bool bodySizes = false;  // also the size of each entry's body
};

struct ListSummary {
    IndexFormat format = IndexFormat::TextIndex;
    std::string family;  // the browsers the cache came from (CacheTraits::family)
    CacheEntryList entries;
    std::vector<DomainTally> domains;  // the chosen domains in the chosen list's order
    // With bodySizes, one per entry: the size of its body, when it is there.
    std::vector<std::optional<std::uint64_t>> sizes;
    // When options chose: the first and last stamps of the cache's entries,
    // for saying where a choice that found nothing could look.
    std::optional<StampRange> cacheDates;
};

class ListJob {
public:
    ListJob(ListRequest request, Services services);
    // Stopped when the read was stopped; Failed when the cache cannot be read.
    Outcome<ListSummary> Run();

private:
    Outcome<ListSummary> ListDomains();
    Outcome<ListSummary> ListChosenEntries();
    void AddBodySizes(const CacheSource& source, ListSummary& summary) const;

    ListRequest request_;
    Services services_;
};

}  // namespace restash
