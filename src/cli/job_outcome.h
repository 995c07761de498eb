#pragma once
// How the command line ends a job: its warnings and, when it did not
// complete, why, in the terminal's words; and the exit status.
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "core/app/settings.h"
#include "core/jobs/outcome.h"

namespace restash::cli {

// Prints each warning ("restash-cli: warning: ..."; shown even with --quiet).
void PrintWarnings(const std::vector<Warning>& warnings, const std::vector<LeftOut>& leftOut,
                   const Settings& settings, TerminalMessages& messages);

// Prints why a job did not work; work names what it would have done.
void PrintFailure(const Failure& failure, const Settings& settings, std::string_view work,
                  TerminalMessages& messages);

// The exit status of a failure: 2 for outputs that would land in the cache
// or on one another (a use that cannot work), otherwise 1.
int FailureStatus(const Failure& failure);

// The warnings, then: 0 done; 1 or 2 failed (after saying why, see
// FailureStatus); 130 stopped (after saying what a stop leaves, when
// stopped is given).
template <typename Summary>
int EndOf(const Outcome<Summary>& outcome, const Settings& settings, std::string_view work,
          TerminalMessages& messages, std::string_view stopped = {}) {
    PrintWarnings(outcome.warnings, outcome.leftOut, settings, messages);
    if (outcome.status == JobStatus::Stopped) {
        if (!stopped.empty()) messages.PrintError(stopped);
        return kExitStopped;
    }
    if (outcome.status == JobStatus::Failed) {
        PrintFailure(outcome.failure, settings, work, messages);
        return FailureStatus(outcome.failure);
    }
    return kExitDone;
}

}  // namespace restash::cli
