#pragma once
// How the command line ends a job: the exit status of its outcome, and a
// failure in the terminal's words.
#include "cli/exit_codes.h"
#include "cli/stderr_messages.h"
#include "core/jobs/outcome.h"

namespace restash::cli {

// Prints why a job could not work, as an error (shown even with --quiet).
void PrintFailure(const Failure& failure, StderrMessages& messages);

// 0 done, 1 failed (after printing why), 2 for outputs that would land in
// the cache (a use that cannot work), 130 stopped.
template <typename Summary>
int EndOf(const Outcome<Summary>& outcome, StderrMessages& messages) {
    if (outcome.status == JobStatus::Stopped) return kExitStopped;
    if (outcome.status == JobStatus::Failed) {
        PrintFailure(outcome.failure, messages);
        return outcome.failure.code == FailureCode::Overlap ? kExitUsage : kExitError;
    }
    return kExitDone;
}

}  // namespace restash::cli
