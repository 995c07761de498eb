#pragma once
// One subcommand of restash-cli: it adds its options to the parser and runs
// when the user chose it.
#include <CLI/CLI.hpp>
#include <exception>
#include <ostream>
#include <stdexcept>

#include "cli/global_options.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"

namespace restash::cli {

struct RunContext {
    const GlobalOptions& global;
    const Clock& clock;  // the system clock, or the one --now fixed
    TerminalProgress& progress;
    StderrMessages& messages;
    std::ostream& out;
};

// Thrown when the user stopped the work with Ctrl-C.
class StoppedByUser : public std::exception {
public:
    const char* what() const noexcept override { return "stopped by the user"; }
};

// Thrown when the command has already told the user why it cannot go on.
class CommandFailed : public std::exception {
public:
    const char* what() const noexcept override { return "command failed"; }
};

// Thrown for a use of the command that cannot work; the text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Command {
public:
    virtual ~Command() = default;
    bool Chosen() const { return app_->parsed(); }
    // Returns the exit status; throws restash::Error for what the user must see.
    virtual int Run(RunContext& context) = 0;

protected:
    CLI::App* app_ = nullptr;
};

}  // namespace restash::cli
