#include "gui/message_box.h"

#include "core/uncache/uncache_run.h"
#include "gui/file_chooser.h"
#include "gui/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace restash {

Answer DefaultAnswer(std::string_view text, Buttons buttons) {
    if (buttons == Buttons::Ok || buttons == Buttons::OkHelp) return Answer::Ok;
    // Viewing the index and making a missing folder change nothing the user has.
    const bool harmless = text == kUncachingComplete || text == kCreateDirectoryQuestion;
    return harmless ? Answer::Yes : Answer::No;
}

namespace {

QMessageBox::StandardButton ButtonOf(Answer answer) {
    switch (answer) {
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Ok: break;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageBox::MessageBox(std::function<void(int)> openHelp) : openHelp_(std::move(openHelp)) {}

Answer MessageBox::Show(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) {
    if (!scripted_) return ShowBox(kind, text, buttons, helpContext);

    shown_.push_back({kind, std::string(text), buttons, helpContext});
    if (buttons == Buttons::Ok || buttons == Buttons::OkHelp) return Answer::Ok;
    if (answers_.empty()) {
        unanswered_.emplace_back(text);
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

Answer MessageBox::ShowBox(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) {
    QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                      : QApplication::activeWindow());
    box.setWindowTitle(QString::fromLatin1(CaptionOf(kind)));
    box.setText(MessageText(WithNewlines(text)));
    switch (kind) {
        case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
        case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
        case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkHelp: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Help); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    // An OK box, Help or not, closes on Esc as OK.
    if (buttons == Buttons::OkHelp) box.setEscapeButton(QMessageBox::Ok);
    for (;;) {
        // Enter presses the default button, and the box comes back from Help
        // with it, not with Help, in the focus.
        box.setDefaultButton(ButtonOf(DefaultAnswer(text, buttons)));
        const int pressed = box.exec();
        // The Help button opens the help page and leaves the box up.
        if (pressed == QMessageBox::Help) {
            if (openHelp_) openHelp_(helpContext);
            continue;
        }
        switch (pressed) {
            case QMessageBox::Yes: return Answer::Yes;
            case QMessageBox::No: return Answer::No;
            case QMessageBox::Ok: return Answer::Ok;
            default:
                // Esc or the close box: OK for an OK box, Cancel for a question
                // that offers it, No for a Yes/No question.
                if (buttons == Buttons::Ok || buttons == Buttons::OkHelp) return Answer::Ok;
                return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
        }
    }
}

std::vector<std::string> MessageBox::Texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown_) out.push_back(m.text);
    return out;
}

void MessageBox::ClearRecord() {
    shown_.clear();
    unanswered_.clear();
    answers_.clear();
}

}  // namespace restash
