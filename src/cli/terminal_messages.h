#pragma once
// What restash-cli says on standard error: "restash-cli: TEXT" for an error,
// "restash-cli: warning: TEXT" for a warning (both printed even with
// --quiet), and notes that --quiet leaves out. The core's message boxes
// carry the desktop program's texts: the command line words the outcome of
// each job by its codes instead, so the boxes print nothing here and their
// questions get the answer the command's options set.
#include <iosfwd>
#include <optional>
#include <string_view>

#include "cli/terminal_progress.h"
#include "core/platform/messages.h"

namespace restash::cli {

inline constexpr const char* kProgramName = "restash-cli";

class TerminalMessages final : public Messages {
public:
    TerminalMessages(bool quiet, TerminalProgress& progress) : quiet_(quiet), progress_(progress) {}

    // The answer to the core's questions; without one the safe choice (No,
    // or Cancel where there is one).
    void SetAnswer(Answer answer) { answer_ = answer; }
    Answer Show(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) override;

    void PrintError(std::string_view text);
    void PrintWarning(std::string_view text);
    void PrintNote(std::string_view text);
    bool Quiet() const { return quiet_; }

    // Asks a question of the command line's own on standard error and reads
    // the answer from in: true only for "y" or "yes"; the end of the input
    // or Ctrl-C is No.
    bool Confirm(std::string_view question, std::istream& in);

private:
    void Line(std::string_view prefix, std::string_view text);

    bool quiet_;
    TerminalProgress& progress_;
    std::optional<Answer> answer_;
};

}  // namespace restash::cli
