#pragma once
// The whole command line: the global options and the subcommands, parsed
// with the command line's own words for what is wrong ("unknown command
// 'bogus'; see restash-cli --help"), help for the program and for each
// command, and the run of the command chosen.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/global_options.h"

namespace restash::cli {

class CommandLine {
public:
    CommandLine();

    // Parses arguments (the program's name first). An exit status when the
    // program ends here (help, the version, bad usage); nothing when the
    // chosen command is to run.
    std::optional<int> Parse(const std::vector<std::string>& arguments);
    // Runs the chosen command; its exit status.
    int Run(const std::vector<std::string>& arguments);

private:
    Command* ChosenCommand();
    // What is wrong with a parse that CLI11 accepted: a word or option left
    // over, an option given twice, two options that exclude each other.
    std::optional<std::string> Misuse();
    std::optional<int> ShowHelp(const std::string& topic);
    std::string SeeHelp();

    CLI::App app_;
    GlobalOptions global_;
    std::vector<std::unique_ptr<Command>> commands_;
};

}  // namespace restash::cli
