#include "cli/uncache_command.h"

#include "cli/cache_entries.h"
#include "cli/exit_codes.h"
#include "cli/global_options.h"
#include "cli/selection_flags.h"
#include "core/app/browser_bridge.h"
#include "core/app/program_dir.h"
#include "core/index/created_on.h"
#include "core/platform/time_locale.h"
#include "core/uncache/uncache_run.h"

namespace restash::cli {

UncacheCommand::UncacheCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("uncache", "Turns the chosen part of the cache into the offline copy");
    AddCacheOption(*app_, cacheFile_);
    app_->add_option("--offline", offlineFolder_,
                     "The folder that holds the offline copy, in its subfolder OFFLINE (default: the offlinedir "
                     "setting)")
        ->type_name("DIR");
    app_->add_option("--history", historyFile_,
                     "Netscape's history file, rewritten for a text index (default: the histpath setting)")
        ->type_name("FILE");
    AddSelectionOptions(*app_, selection_);
    CLI::Option* keep = app_->add_flag("--keep-urls", keepUrls_, "Links to files not cached keep their web address");
    CLI::Option* noKeep = app_->add_flag("--no-keep-urls", noKeepUrls_, "Links to files not cached are marked instead");
    keep->excludes(noKeep);
    CLI::Option* emph = app_->add_flag("--emphasis", emphasis_, "Emphasise the links to pages that are available");
    CLI::Option* noEmph = app_->add_flag("--no-emphasis", noEmphasis_, "Do not emphasise available links");
    emph->excludes(noEmph);
    app_->add_flag("--view", view_, "Open the index page in the configured browser when the copy is done");
}

int UncacheCommand::Run(RunContext& context) {
    Settings settings = LoadCliSettings(context.global);
    if (cacheFile_) UseCacheIndex(settings, *cacheFile_);
    if (offlineFolder_) UseOfflineFolder(settings, *offlineFolder_);
    if (historyFile_) settings.HistPath = AbsolutePath(*historyFile_);
    if (keepUrls_ || noKeepUrls_) settings.NotFoundURL = keepUrls_;
    if (emphasis_ || noEmphasis_) settings.EmphTag = emphasis_;

    WarningsAsErrors loud(context.messages);
    ProcProcessTable processes;
    const RunningCheck netscapeRunning = [&] { return IsNetscapeRunning(settings, processes, loud); };
    CacheSelection model(context.progress);
    const auto source = StartOnSelection(model, settings, selection_, context.clock, netscapeRunning, loud,
                                         kNoFilesToUncache);
    if (netscapeRunning()) return kExitError;

    // TEMP.HST is written in the program's folder.
    EnsureProgramDir(settings.ProgramDir);
    context.messages.SetAnswer(view_ ? Answer::Yes : Answer::No);
    RunServices services{RealFileSystem(), context.progress, context.messages, context.clock, UserTimeLocale()};
    const Selection selection = model.Current();
    const RunOutcome outcome = RunUncache(settings, *source, model.Entries(), selection, services);
    context.progress.Clear();

    if (outcome.result == RunResult::Stopped) {
        context.messages.Information("Uncaching stopped. The copies made so far were removed.");
        return kExitStopped;
    }
    if (outcome.viewIndexRequested) {
        SpawnLauncher launcher;
        OpenIndexPage(settings, launcher, context.messages);
    }
    context.out << "Copied " << outcome.filesCopied << " file(s) and converted " << outcome.pagesConverted
                << " page(s).\n"
                << "Index page: " << FileURL(AbsolutePath(settings.IndexPagePath())) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
