#pragma once
// Message boxes on standard error: "Warning: ..." with the text's CR line
// breaks as new lines. Questions are answered from the command's options, or
// asked on the terminal.
#include <iosfwd>
#include <optional>

#include "cli/terminal_progress.h"
#include "core/platform/messages.h"

namespace restash::cli {

class StderrMessages final : public Messages {
public:
    // quiet leaves out warnings and notes; errors and questions are printed.
    StderrMessages(bool quiet, TerminalProgress& progress) : quiet_(quiet), progress_(progress) {}

    // The answer to every question; without one the answer is the safe
    // choice (No, or Cancel where there is one).
    void SetAnswer(Answer answer) { answer_ = answer; }
    // Questions without a preset answer are asked, the answer read from in
    // (y, n or c; the end of the input or Ctrl-C is the safe choice).
    void AskFrom(std::istream& in) { in_ = &in; }

    Answer Show(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) override;

private:
    Answer Ask(Buttons buttons);

    bool quiet_;
    TerminalProgress& progress_;
    std::optional<Answer> answer_;
    std::istream* in_ = nullptr;
};

}  // namespace restash::cli
