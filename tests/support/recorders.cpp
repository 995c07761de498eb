#include "tests/support/recorders.h"

#include <gtest/gtest.h>

namespace restash::test {

restash::Answer RecordingMessages::Show(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) {
    shown.push_back({kind, std::string(text), buttons, helpContext});
    if (buttons == Buttons::Ok || buttons == Buttons::OkHelp) return restash::Answer::Ok;
    if (answers_.empty()) {
        ADD_FAILURE() << "unanswered question: " << text;
        return restash::Answer::Cancel;
    }
    const restash::Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::vector<std::string> RecordingMessages::Texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown) out.push_back(m.text);
    return out;
}

bool RecordingProgress::ProcessMessages() {
    ++processCalls;
    return !(stopAt > 0 && processCalls >= stopAt);
}

}  // namespace restash::test
