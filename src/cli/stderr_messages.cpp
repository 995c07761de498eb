#include "cli/stderr_messages.h"

#include <iostream>

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
}  // namespace

Answer StderrMessages::Show(MessageKind kind, std::string_view text, Buttons buttons, int /*helpContext*/) {
    const bool question = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
    Answer answer = Answer::Ok;
    if (question) answer = answer_.value_or(buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No);

    const bool shown = !quiet_ || kind == MessageKind::Error || question;
    if (shown) {
        progress_.Clear();
        std::cerr << CaptionOf(kind) << ": " << WithNewlines(text);
        if (question) std::cerr << " [" << AnswerName(answer) << "]";
        std::cerr << std::endl;
    }
    return answer;
}

}  // namespace restash::cli
