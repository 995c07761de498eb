#include "cli/terminal_messages.h"

#include <iostream>
#include <string>

#include "core/platform/text.h"

namespace restash::cli {

Answer TerminalMessages::Show(MessageKind /*kind*/, std::string_view /*text*/, Buttons buttons, int /*helpContext*/) {
    switch (buttons) {
        case Buttons::YesNo: return answer_.value_or(Answer::No);
        case Buttons::YesNoCancel: return answer_.value_or(Answer::Cancel);
        case Buttons::Ok:
        case Buttons::OkHelp: break;
    }
    return Answer::Ok;
}

void TerminalMessages::Line(std::string_view prefix, std::string_view text) {
    progress_.Clear();
    std::cerr << prefix << text << std::endl;
}

void TerminalMessages::PrintError(std::string_view text) { Line(std::string(kProgramName) + ": ", text); }

void TerminalMessages::PrintWarning(std::string_view text) { Line(std::string(kProgramName) + ": warning: ", text); }

void TerminalMessages::PrintNote(std::string_view text) {
    if (!quiet_) Line("", text);
}

bool TerminalMessages::Confirm(std::string_view question, std::istream& in) {
    progress_.Clear();
    std::cerr << question << " [y/N] " << std::flush;
    std::string line;
    if (!std::getline(in, line) || InterruptRequested()) {
        std::cerr << '\n';
        return false;
    }
    const auto first = line.find_first_not_of(" \t\r");
    const auto last = line.find_last_not_of(" \t\r");
    const std::string word = first == std::string::npos ? "" : ToLowerAscii(line.substr(first, last - first + 1));
    return word == "y" || word == "yes";
}

}  // namespace restash::cli
