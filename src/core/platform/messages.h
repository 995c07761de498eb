#pragma once
// Message boxes: every message the user sees goes through this interface with
// its kind and its exact text (line breaks as "\r" or "\r\n", as each text
// gives them). The desktop program shows a modal box, the command line prints
// to stderr and answers from its options, tests script the answers.
#include <string>
#include <string_view>

namespace restash {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class Buttons { Ok, OkHelp, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class Messages {
public:
    virtual ~Messages() = default;
    // Shows text and returns the button pressed. helpContext is the help
    // topic of the box's Help button (0: none).
    virtual Answer Show(MessageKind kind, std::string_view text, Buttons buttons = Buttons::Ok,
                        int helpContext = 0) = 0;

    void Warning(std::string_view text) { Show(MessageKind::Warning, text); }
    void ShowError(std::string_view text) { Show(MessageKind::Error, text); }
    void Information(std::string_view text) { Show(MessageKind::Information, text); }
};

// The caption of a box of that kind: "Warning", "Error", "Information", "Confirm".
const char* CaptionOf(MessageKind kind);

// A message text with its CR and CR LF line breaks turned into new lines,
// for a terminal or a Qt label.
std::string WithNewlines(std::string_view text);

}  // namespace restash
