#pragma once
// The Uncache job: the checks before a run (the browser must not have the
// cache open, something must be chosen, the offline copy must lie apart from
// the cache), the lock of the offline folder, and the uncaching run into a
// new offline tree that replaces the old one when whole, ending with the
// question whether to view the index.
#include <cstdint>
#include <optional>

#include "core/app/settings.h"
#include "core/jobs/chosen_part.h"
#include "core/jobs/outcome.h"
#include "core/jobs/services.h"
#include "core/uncache/uncache_plan.h"

namespace restash {

struct UncacheRequest {
    // The cache index, the offline root, the history file, the program
    // folder and the browser program; the GMT adjustment and the link
    // preferences (NotFoundURL, EmphTag, Tag).
    Settings settings;
    SelectionRequest selection;
    bool history = true;  // false: the history file is neither read nor written
};

struct UncacheSummary {
    std::uint64_t filesCopied = 0;
    std::uint64_t pagesConverted = 0;
    bool viewIndex = false;     // the user asked to view the index and the browser program is there
    std::uint64_t skipped = 0;  // chosen files not copied: gone meanwhile, or unreadable
};

class UncacheJob {
public:
    UncacheJob(UncacheRequest request, Services services);

    // The whole job: the choice (when the request brings options), the
    // checks and the run.
    Outcome<UncacheSummary> Run();

    // The choice and the checks the Uncache button makes before the progress
    // window opens: the outcome the job ends with, or nothing when the run
    // may start. The offline root must lie apart from the cache (Overlap).
    std::optional<Outcome<UncacheSummary>> Check();
    // Only the run, for a selection Check() let start; a request without a
    // selection is checked first. The run holds the offline folder's lock:
    // while another process holds it the job fails at once (InUse).
    Outcome<UncacheSummary> RunChecked();

    // The choice and the checks, then what the run would copy and under
    // which names; nothing is written (not even the program folder).
    Outcome<UncachePlan> Plan();

private:
    void AddLeftOutByChoice(std::vector<LeftOut>& leftOut);

    UncacheRequest request_;
    Services services_;
    ChosenPart part_;
};

}  // namespace restash
