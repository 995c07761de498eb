#pragma once
// One subcommand of restash-cli: it adds its options to the parser and, when
// the user chose it, builds its job's request, runs the job and prints the
// outcome.
#include <CLI/CLI.hpp>
#include <ostream>
#include <stdexcept>

#include "cli/global_options.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"
#include "core/jobs/services.h"

namespace restash::cli {

struct RunContext {
    const GlobalOptions& global;
    Services& services;  // the terminal's progress line, stderr messages, the clock (--now), /proc
    TerminalProgress& progress;
    StderrMessages& messages;
    std::ostream& out;
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
    // Returns the exit status.
    virtual int Run(RunContext& context) = 0;

protected:
    CLI::App* app_ = nullptr;
};

}  // namespace restash::cli
