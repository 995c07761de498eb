#include "cli/delete_command.h"

#include <unistd.h>

#include <iostream>

#include "cli/job_outcome.h"
#include "cli/selection_flags.h"
#include "core/jobs/delete_job.h"

namespace restash::cli {

DeleteCommand::DeleteCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("delete", "Deletes the chosen part of the cache, after asking");
    AddCacheOption(*app_, cacheFile_);
    AddSelectionOptions(*app_, selection_);
    app_->add_flag("-y,--yes", yes_, "Delete without asking (needed when standard input is no terminal)");
}

int DeleteCommand::Run(RunContext& context) {
    if (!yes_ && ::isatty(STDIN_FILENO) != 1)
        throw UsageError("delete asks before it deletes, and standard input is no terminal: add --yes to delete "
                         "without asking");
    if (yes_)
        context.messages.SetAnswer(Answer::Yes);
    else
        context.messages.AskFrom(std::cin);
    DeleteJob job({SettingsWithCache(context.global, cacheFile_), {nullptr, selection_}}, context.services);
    const Outcome<DeleteSummary> outcome = job.Run();
    context.progress.Clear();
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, context.messages);
    const DeleteSummary& s = outcome.summary;
    context.out << "Deleted " << s.entriesRemoved << " entr" << (s.entriesRemoved == 1 ? "y" : "ies") << " and "
                << s.bodiesRemoved << " cache file" << (s.bodiesRemoved == 1 ? "" : "s") << ".\n";
    return outcome.leftOut.empty() ? kExitDone : kExitError;
}

}  // namespace restash::cli
