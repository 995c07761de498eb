#include "cli/uncache_command.h"

#include "cli/cli_texts.h"
#include "cli/job_outcome.h"
#include "cli/selection_flags.h"
#include "core/app/browser_bridge.h"
#include "core/jobs/uncache_job.h"
#include "core/platform/paths.h"

namespace restash::cli {

UncacheCommand::UncacheCommand(CLI::App& parent) {
    app_ = parent.add_subcommand("uncache", "Turns the chosen part of the cache into the offline copy");
    AddCacheOption(*app_, cacheFile_);
    app_->add_option("--offline", offlineFolder_,
                     "The folder that holds the offline copy, in its subfolder OFFLINE (default: the offlinedir "
                     "setting)")
        ->type_name("DIR");
    CLI::Option* history =
        app_->add_option("--history", historyFile_,
                         "Netscape's history file, rewritten for a text index (default: the histpath setting)")
            ->type_name("FILE");
    app_->add_flag("--no-history", noHistory_, "Neither read nor rewrite the history file")->excludes(history);
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
    Settings settings = SettingsWithCache(context.global, cacheFile_);
    if (offlineFolder_) UseOfflineFolder(settings, *offlineFolder_);
    if (historyFile_) settings.HistPath = AbsolutePath(*historyFile_);
    if (keepUrls_ || noKeepUrls_) settings.NotFoundURL = keepUrls_;
    if (emphasis_ || noEmphasis_) settings.EmphTag = emphasis_;

    // The question at the end of the run is answered by --view.
    context.messages.SetAnswer(view_ ? Answer::Yes : Answer::No);
    UncacheJob job({settings, {nullptr, selection_}, !noHistory_}, context.services);
    const Outcome<UncacheSummary> outcome = job.Run();
    context.progress.Clear();
    if (outcome.status == JobStatus::Stopped) context.messages.Information(kUncachingStopped);
    if (outcome.status != JobStatus::Completed) return EndOf(outcome, context.messages);

    if (outcome.summary.viewIndex) {
        SpawnLauncher launcher;
        OpenIndexPage(settings, launcher, context.messages);
    }
    context.out << "Copied " << outcome.summary.filesCopied << " file(s) and converted "
                << outcome.summary.pagesConverted << " page(s).\n"
                << "Index page: " << FileURL(AbsolutePath(settings.IndexPagePath())) << '\n';
    return kExitDone;
}

}  // namespace restash::cli
