#include "cli/command_line.h"

#include <algorithm>
#include <iostream>

#include "cli/delete_command.h"
#include "cli/domains_command.h"
#include "cli/exit_codes.h"
#include "cli/export_command.h"
#include "cli/list_command.h"
#include "cli/locale_text.h"
#include "cli/search_command.h"
#include "cli/settings_command.h"
#include "cli/terminal_messages.h"
#include "cli/uncache_command.h"
#include "core/app/process_table.h"
#include "core/app/version.h"
#include "core/platform/time_locale.h"

namespace restash::cli {
namespace {

constexpr const char* kFooter =
    "Texts from the cache are single bytes, read as Latin-1; they are printed in the locale's encoding, and JSON, "
    "CSV and reports are UTF-8.\n"
    "Exit status: 0 done, 1 failed, 2 bad usage, 130 stopped (Ctrl-C); search: 0 found, 1 not found, 2 error.\n"
    "'restash-cli help COMMAND' shows the options of a command.";

void PrintError(const std::string& text) { std::cerr << kProgramName << ": " << text << std::endl; }

// CLI11's own text for what it refused, in the command line's manner: its
// messages begin with a capital and may end with a stop.
std::string Reworded(std::string text) {
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text.rfind("The following argument", 0) == 0) return "unexpected argument" + text.substr(text.find(':'));
    return text;
}

}  // namespace

CommandLine::CommandLine()
    : app_("Turns a Netscape disk cache back into a browsable offline copy of the web sites it came from.",
           kProgramName) {
    app_.set_version_flag("-V,--version", std::string(kProgramName) + " " + ProgramVersion());
    app_.footer(kFooter);
    // Global options may follow the command; a repeated option is found
    // after parsing, where it can be named.
    app_.fallthrough();
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    AddGlobalOptions(app_, global_);
    commands_.push_back(std::make_unique<ListCommand>(app_));
    commands_.push_back(std::make_unique<DomainsCommand>(app_));
    commands_.push_back(std::make_unique<UncacheCommand>(app_));
    commands_.push_back(std::make_unique<SearchCommand>(app_));
    commands_.push_back(std::make_unique<DeleteCommand>(app_));
    commands_.push_back(std::make_unique<ExportCommand>(app_));
    commands_.push_back(std::make_unique<SettingsCommand>(app_));
    // Answered before the parse (see HelpTopic); listed here for --help.
    app_.add_subcommand("help", "Shows the options of the program or of one command")
        ->add_option("COMMAND", "The command to show");
    for (auto& command : commands_)
        if (command->App().get_footer().empty())
            command->App().footer("Exit status: 0 done, 1 failed, 2 bad usage, 130 stopped (Ctrl-C).");
    // Extras are collected (not refused) at the top only, so that they can be named.
    app_.allow_extras();
}

Command* CommandLine::ChosenCommand() {
    for (auto& command : commands_)
        if (command->Chosen()) return command.get();
    return nullptr;
}

std::string CommandLine::SeeHelp() {
    const Command* chosen = ChosenCommand();
    return chosen ? "; see restash-cli help " + const_cast<Command*>(chosen)->App().get_name()
                  : "; see restash-cli --help";
}

std::optional<std::string> CommandLine::Misuse() {
    Command* chosen = ChosenCommand();
    for (const std::string& word : app_.remaining(true)) {
        if (!word.empty() && word[0] == '-') return "unknown option '" + word + "'";
        if (!chosen) return "unknown command '" + word + "'";
        return "unexpected argument '" + word + "'";
    }
    if (!chosen) return "no command given";
    const std::vector<std::string> repeatable = chosen->Repeatable();
    for (CLI::App* app : {&app_, &chosen->App()})
        for (const CLI::Option* option : app->get_options()) {
            const std::string name = option->get_name();
            const bool many = std::find(repeatable.begin(), repeatable.end(), name) != repeatable.end();
            if (!many && option->get_type_size() > 0 && option->count() > 1)
                return "option " + name + " given more than once";
        }
    for (const auto& [first, second] : chosen->Conflicts())
        if (chosen->App().count(first) > 0 && chosen->App().count(second) > 0)
            return first + " and " + second + " cannot be used together";
    return std::nullopt;
}

std::optional<int> CommandLine::ShowHelp(const std::string& topic) {
    if (topic.empty()) {
        std::cout << app_.get_formatter()->make_help(&app_, kProgramName, CLI::AppFormatMode::Normal);
        return kExitDone;
    }
    for (auto& command : commands_)
        if (command->App().get_name() == topic) {
            std::cout << command->App().help(kProgramName);
            return kExitDone;
        }
    PrintError("unknown command '" + topic + "'; see restash-cli --help");
    return kExitUsage;
}

namespace {

// "help [COMMAND]" is answered before the parse, which would refuse a
// command named without its required arguments. The global options with a
// value may come first.
std::optional<std::string> HelpTopic(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--program-dir" || word == "--now") {
            ++i;
            continue;
        }
        if (!word.empty() && word[0] == '-') continue;
        if (word != "help") return std::nullopt;
        return i + 1 < arguments.size() ? arguments[i + 1] : std::string();
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> CommandLine::Parse(const std::vector<std::string>& arguments) {
    if (const std::optional<std::string> topic = HelpTopic(arguments)) return ShowHelp(*topic);
    std::vector<std::string> rest(arguments.rbegin(), arguments.rend() - 1);  // CLI11 takes them last first
    try {
        app_.parse(rest);
    } catch (const CLI::CallForHelp& e) {
        return app_.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app_.exit(e);
    } catch (const CLI::ParseError& e) {
        PrintError(Reworded(e.what()) + SeeHelp());
        return kExitUsage;
    }
    if (const std::optional<std::string> misuse = Misuse()) {
        PrintError(*misuse + SeeHelp());
        return kExitUsage;
    }
    return std::nullopt;
}

int CommandLine::Run(const std::vector<std::string>& arguments) {
    Command& command = *ChosenCommand();
    InstallInterruptHandler();
    TerminalProgress progress(global_.quiet);
    TerminalMessages messages(global_.quiet, progress);
    const auto clock = MakeClock(global_);
    ProcProcessTable processes;
    Services services{RealFileSystem(), progress, messages, *clock, UserTimeLocale(), processes};
    RunContext context{global_, services, progress, messages, std::cout, arguments};
    try {
        const int status = command.Run(context);
        std::cout.flush();
        if (!std::cout) {
            messages.PrintError("cannot write to standard output");
            return command.ErrorStatus();
        }
        return status;
    } catch (const UsageError& e) {
        progress.Clear();
        messages.PrintError(e.what());
        return kExitUsage;
    } catch (const std::exception& e) {
        progress.Clear();
        messages.PrintError(MixedToTerminal(e.what()));
        return command.ErrorStatus();
    }
}

}  // namespace restash::cli
