#pragma once
// The Delete job: removes the chosen part of a cache (the bodies of every
// chosen entry and, where the format keeps an index of them, their records)
// after asking, and leaves the selection's lists rebuilt for what is left.
#include <cstdint>

#include "core/app/settings.h"
#include "core/jobs/chosen_part.h"
#include "core/jobs/outcome.h"
#include "core/jobs/services.h"

namespace restash {

inline constexpr const char* kDeletingCaption = "Deleting Selection From Fat...";
inline constexpr const char* kDeleteQuestion =
    "Are you sure you want to delete this\r\nselection from Netscape's cache?\r\n";
inline constexpr const char* kDeleteWholeCacheQuestion =
    "Are you sure you want to delete this\r\nselection from Netscape's cache?\r\n\r\n\r\n"
    "WARNING : This selection will delete\r\nthe entire cache. Continue?";

struct DeleteRequest {
    Settings settings;  // the cache index, the program folder (where a rewritten index is written), the browser
    SelectionRequest selection;
};

struct DeleteSummary {
    std::uint64_t entriesRemoved = 0;  // entries (hash index) or index lines (text index) removed
    std::uint64_t bodiesRemoved = 0;   // cache files removed from the folder
    bool indexRewritten = false;       // the index was rewritten without the entries' records
};

// What a deletion would take.
struct DeletePlan {
    RemovalPlan removal;      // the bodies, and a text index's lines
    bool wholeCache = false;     // the choice covers the whole cache
    bool rewritesIndex = false;  // the index would be rewritten without the lines
};

class DeleteJob {
public:
    DeleteJob(DeleteRequest request, Services services);

    // The browser must not run and something must be chosen; the question
    // (whether the whole cache goes or a part of it); then the removal. A
    // removal that cannot write the index is Failed with the index and every
    // body as they were. Not answering Yes is Failed (NotConfirmed), or
    // Stopped when the progress sink says to stop meanwhile.
    Outcome<DeleteSummary> Run();

    // The same checks and choice, then what the removal would take; nothing
    // is asked, written or removed.
    Outcome<DeletePlan> Plan();

private:
    Outcome<DeleteSummary> Decide(CacheSelection& state);
    Outcome<DeleteSummary> Remove(CacheSelection& state);

    DeleteRequest request_;
    Services services_;
    ChosenPart part_;
};

}  // namespace restash
