#include "cli/job_outcome.h"

#include "cli/words.h"

namespace restash::cli {

void PrintWarnings(const std::vector<Warning>& warnings, const std::vector<LeftOut>& leftOut,
                   const Settings& settings, TerminalMessages& messages) {
    for (const Warning& w : warnings) messages.PrintWarning(WarningText(w, leftOut, settings));
}

void PrintFailure(const Failure& failure, const Settings& settings, std::string_view work,
                  TerminalMessages& messages) {
    messages.PrintError(FailureText(failure, settings, work));
}

int FailureStatus(const Failure& failure) { return failure.code == FailureCode::Overlap ? kExitUsage : kExitError; }

}  // namespace restash::cli
