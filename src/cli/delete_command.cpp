#include "cli/delete_command.h"

#include <unistd.h>

#include <iostream>

#include "cli/cache_entries.h"
#include "cli/exit_codes.h"
#include "cli/global_options.h"
#include "cli/selection_flags.h"
#include "core/app/browser_bridge.h"
#include "core/app/program_dir.h"
#include "core/selection/delete_selection.h"

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

    Settings settings = LoadCliSettings(context.global);
    if (cacheFile_) UseCacheIndex(settings, *cacheFile_);

    WarningsAsErrors loud(context.messages);
    ProcProcessTable processes;
    const RunningCheck netscapeRunning = [&] { return IsNetscapeRunning(settings, processes, loud); };
    CacheSelection model(context.progress);
    const auto source = StartOnSelection(model, settings, selection_, context.clock, netscapeRunning, loud,
                                         kNoFilesToDelete);

    if (yes_)
        context.messages.SetAnswer(Answer::Yes);
    else
        context.messages.AskFrom(std::cin);
    // TEMP.FAT is written in the program's folder.
    EnsureProgramDir(settings.ProgramDir);
    const DeleteSummary summary =
        DeleteSelection(model, context.messages, settings.ProgramDir, RealFileSystem(), netscapeRunning);
    context.progress.Clear();
    if (!summary.deleted) {
        if (summary.stopped || InterruptRequested()) return kExitStopped;
        context.messages.ShowError("Nothing was deleted.");
        return kExitError;
    }
    context.out << "Deleted " << summary.entriesRemoved << " entr" << (summary.entriesRemoved == 1 ? "y" : "ies")
                << " and " << summary.filesDeleted << " cache file" << (summary.filesDeleted == 1 ? "" : "s")
                << ".\n";
    return summary.failures.empty() ? kExitDone : kExitError;
}

}  // namespace restash::cli
