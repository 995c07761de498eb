// restash-cli: the command-line front end over the core.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/delete_command.h"
#include "cli/domains_command.h"
#include "cli/exit_codes.h"
#include "cli/export_command.h"
#include "cli/global_options.h"
#include "cli/list_command.h"
#include "cli/search_command.h"
#include "cli/settings_command.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"
#include "cli/uncache_command.h"
#include "core/app/process_table.h"
#include "core/platform/error.h"
#include "core/platform/time_locale.h"

using namespace restash;
using namespace restash::cli;

int main(int argc, char** argv) {
    CLI::App app("Turns a Netscape disk cache back into a browsable offline copy of the web sites it came from.",
                 "restash-cli");
    app.set_version_flag("--version", std::string("restash-cli ") + RESTASH_VERSION);
    app.require_subcommand(1);
    app.footer(
        "Texts from the cache are single bytes, read as Latin-1.\n"
        "Exit status: 0 done, 1 error, 2 bad usage, 130 stopped (Ctrl-C).");
    GlobalOptions global;
    AddGlobalOptions(app, global);

    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ListCommand>(app));
    commands.push_back(std::make_unique<DomainsCommand>(app));
    commands.push_back(std::make_unique<UncacheCommand>(app));
    commands.push_back(std::make_unique<SearchCommand>(app));
    commands.push_back(std::make_unique<DeleteCommand>(app));
    commands.push_back(std::make_unique<ExportCommand>(app));
    commands.push_back(std::make_unique<SettingsCommand>(app));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? kExitDone : kExitUsage;
    }

    InstallInterruptHandler();
    TerminalProgress progress(global.quiet);
    StderrMessages messages(global.quiet, progress);
    const auto clock = MakeClock(global);
    ProcProcessTable processes;
    Services services{RealFileSystem(), progress, messages, *clock, UserTimeLocale(), processes};
    RunContext context{global, services, progress, messages, std::cout};
    try {
        for (auto& command : commands) {
            if (!command->Chosen()) continue;
            const int status = command->Run(context);
            std::cout.flush();
            if (!std::cout) {
                messages.ShowError("cannot write to standard output");
                return kExitError;
            }
            return status;
        }
    } catch (const UsageError& e) {
        messages.ShowError(e.what());
        return kExitUsage;
    } catch (const std::exception& e) {
        messages.ShowError(e.what());
        return kExitError;
    }
    return kExitUsage;
}
