#include "cli/stderr_messages.h"

#include <iostream>
#include <string>

#include "core/platform/text.h"

namespace restash::cli {

namespace {
const char* AnswerName(Answer a) {
    switch (a) {
        case Answer::Ok: return "OK";
        case Answer::Yes: return "Yes";
        case Answer::No: return "No";
        case Answer::Cancel: return "Cancel";
    }
    return "";
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}
}  // namespace

Answer StderrMessages::Ask(Buttons buttons) {
    const bool cancel = buttons == Buttons::YesNoCancel;
    const Answer safe = cancel ? Answer::Cancel : Answer::No;
    for (;;) {
        std::cerr << (cancel ? "[y]es, [n]o or [c]ancel? " : "[y]es or [n]o? ") << std::flush;
        std::string line;
        if (!std::getline(*in_, line) || InterruptRequested()) {
            std::cerr << '\n';
            return safe;
        }
        const std::string word = ToLowerAscii(Trimmed(line));
        if (word == "y" || word == "yes") return Answer::Yes;
        if (word == "n" || word == "no") return Answer::No;
        if (cancel && (word == "c" || word == "cancel")) return Answer::Cancel;
    }
}

Answer StderrMessages::Show(MessageKind kind, std::string_view text, Buttons buttons, int /*helpContext*/) {
    const bool question = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
    const bool asked = question && !answer_ && in_;
    Answer answer = Answer::Ok;
    if (question && !asked) answer = answer_.value_or(buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No);

    const bool shown = !quiet_ || kind == MessageKind::Error || question;
    if (shown) {
        progress_.Clear();
        std::string body = WithNewlines(text);
        // A question's own trailing line breaks would leave gaps before the answer.
        if (question) body.erase(body.find_last_not_of('\n') + 1);
        std::cerr << CaptionOf(kind) << ": " << body;
        if (question && !asked) std::cerr << " [" << AnswerName(answer) << "]";
        std::cerr << std::endl;
    }
    if (asked) answer = Ask(buttons);
    return answer;
}

}  // namespace restash::cli
