#pragma once
// One subcommand of restash-cli: it adds its options to the parser and, when
// the user chose it, builds its job's request, runs the job and prints the
// outcome in the command line's own words.
#include <CLI/CLI.hpp>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/global_options.h"
#include "cli/terminal_messages.h"
#include "cli/terminal_progress.h"
#include "core/jobs/services.h"

namespace restash::cli {

struct RunContext {
    const GlobalOptions& global;
    Services& services;  // the terminal's progress line, the silent message boxes, the clock (--now), /proc
    TerminalProgress& progress;
    TerminalMessages& messages;
    std::ostream& out;
    const std::vector<std::string>& arguments;  // the whole command line, for reports
};

// Thrown for a use of the command that cannot work; the text says why. The
// exit status is 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Command {
public:
    virtual ~Command() = default;
    bool Chosen() const { return app_->parsed(); }
    CLI::App& App() { return *app_; }
    // Options that may be given more than once (the others may not).
    virtual std::vector<std::string> Repeatable() const { return {}; }
    // Pairs of options that cannot be used together.
    virtual std::vector<std::pair<std::string, std::string>> Conflicts() const { return {}; }
    // Returns the exit status.
    virtual int Run(RunContext& context) = 0;
    // The exit status of an error the command did not word itself.
    virtual int ErrorStatus() const { return 1; }

protected:
    CLI::App* app_ = nullptr;
};

}  // namespace restash::cli
