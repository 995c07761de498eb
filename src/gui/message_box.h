#pragma once
// MessageBox: the desktop program's message boxes. Every message the core or
// a window shows goes through here, as a modal QMessageBox with the kind's
// caption and icon. Tests switch it to scripted mode: no box is ever shown,
// questions take the answers set beforehand, and a question nobody answered
// is recorded (and answered with the choice that changes least) instead of
// waiting for a click that will never come.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/messages.h"

namespace restash {

// The button Enter presses when the box opens: OK in an OK box; No in every
// question whose Yes deletes or replaces something (the delete questions,
// and any question not known to be harmless), so a hurried Enter loses
// nothing; Yes in the questions whose Yes only shows or makes something.
Answer DefaultAnswer(std::string_view text, Buttons buttons);

class MessageBox final : public Messages {
public:
    // openHelp opens the help page at a context (the boxes' Help button).
    explicit MessageBox(std::function<void(int)> openHelp = {});

    Answer Show(MessageKind kind, std::string_view text, Buttons buttons = Buttons::Ok,
                int helpContext = 0) override;

    void SetOpenHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

    // Scripted mode, for tests.
    void SetScripted(bool on) { scripted_ = on; }
    bool Scripted() const { return scripted_; }
    // The answer to the next question (Yes/No or Yes/No/Cancel box).
    void SetNextAnswer(Answer answer) { answers_.push_back(answer); }
    std::size_t PendingAnswers() const { return answers_.size(); }

    struct Shown {
        MessageKind kind;
        std::string text;
        Buttons buttons;
        int helpContext;
    };
    // Every box shown in scripted mode, in order.
    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> Texts() const;
    // The questions that came without an answer set for them.
    const std::vector<std::string>& unanswered() const { return unanswered_; }
    void ClearRecord();

private:
    Answer ShowBox(MessageKind kind, std::string_view text, Buttons buttons, int helpContext);

    std::function<void(int)> openHelp_;
    bool scripted_ = false;
    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
    std::vector<std::string> unanswered_;
};

}  // namespace restash
