// The message-box wrapper: scripted answers for tests, and the real box it
// shows to the user (caption, icon, text, buttons, the Help button).
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "core/jobs/delete_job.h"
#include "core/uncache/uncache_run.h"
#include "gui/file_chooser.h"
#include "gui/message_box.h"
#include "gui/panel_messages.h"
#include "tests/gui/support/modal_driver.h"

using restash::Answer;
using restash::Buttons;
using restash::MessageKind;

namespace {

// Where a key pressed in the box goes: the control with the focus.
QWidget* Focused(QWidget* box) { return box->focusWidget() ? box->focusWidget() : box; }

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void scriptedAnswersInOrderAndRecordsEveryBox();
    void scriptedQuestionWithoutAnswerIsRecordedNotWaitedFor();
    void realBoxShowsKindTextAndButtons_data();
    void realBoxShowsKindTextAndButtons();
    void realBoxHelpButtonOpensHelpAndStaysUp();
    void realBoxClosedByEscapeAnswersTheSafeChoice();
    void enterTakesTheSafeAnswer_data();
    void enterTakesTheSafeAnswer();
    void okHelpBoxComesBackFromHelpOnOkAndClosesOnEscape();
    void aBoxOverLockedControlsLeavesThemUngreyed();
};

void MessageBoxTest::scriptedAnswersInOrderAndRecordsEveryBox() {
    restash::MessageBox box;
    box.SetScripted(true);
    box.SetNextAnswer(Answer::No);
    box.SetNextAnswer(Answer::Yes);
    QCOMPARE(box.Show(MessageKind::Warning, "No Files To Uncache.", Buttons::OkHelp, 11), Answer::Ok);
    QCOMPARE(box.Show(MessageKind::Confirmation, "first?", Buttons::YesNo), Answer::No);
    box.Information("between");
    QCOMPARE(box.Show(MessageKind::Confirmation, "second?", Buttons::YesNoCancel), Answer::Yes);
    QCOMPARE(box.PendingAnswers(), std::size_t{0});
    QVERIFY(box.unanswered().empty());
    QCOMPARE(box.Texts(), (std::vector<std::string>{"No Files To Uncache.", "first?", "between", "second?"}));
    QCOMPARE(box.shown()[0].helpContext, 11);
    QCOMPARE(box.shown()[0].buttons, Buttons::OkHelp);
    QCOMPARE(box.shown()[2].kind, MessageKind::Information);
}

void MessageBoxTest::scriptedQuestionWithoutAnswerIsRecordedNotWaitedFor() {
    restash::MessageBox box;
    box.SetScripted(true);
    QCOMPARE(box.Show(MessageKind::Confirmation, "Delete?", Buttons::YesNoCancel), Answer::Cancel);
    QCOMPARE(box.Show(MessageKind::Confirmation, "View?", Buttons::YesNo), Answer::No);
    QCOMPARE(box.unanswered(), (std::vector<std::string>{"Delete?", "View?"}));
    QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
            std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                         [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }));
}

void MessageBoxTest::realBoxShowsKindTextAndButtons_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("standardButtons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("warning") << int(MessageKind::Warning) << int(Buttons::Ok) << "Warning"
                             << int(QMessageBox::Warning) << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                             << int(Answer::Ok);
    QTest::newRow("error") << int(MessageKind::Error) << int(Buttons::Ok) << "Error" << int(QMessageBox::Critical)
                           << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(Answer::Ok);
    QTest::newRow("information") << int(MessageKind::Information) << int(Buttons::Ok) << "Information"
                                 << int(QMessageBox::Information) << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                                 << int(Answer::Ok);
    QTest::newRow("yes/no answered no")
        << int(MessageKind::Confirmation) << int(Buttons::YesNo) << "Confirm" << int(QMessageBox::Question)
        << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No) << int(Answer::No);
    QTest::newRow("yes/no/cancel answered yes")
        << int(MessageKind::Confirmation) << int(Buttons::YesNoCancel) << "Confirm" << int(QMessageBox::Question)
        << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << int(QMessageBox::Yes)
        << int(Answer::Yes);
    QTest::newRow("yes/no/cancel answered cancel")
        << int(MessageKind::Confirmation) << int(Buttons::YesNoCancel) << "Confirm" << int(QMessageBox::Question)
        << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << int(QMessageBox::Cancel)
        << int(Answer::Cancel);
}

void MessageBoxTest::realBoxShowsKindTextAndButtons() {
    QFETCH(int, kind);
    QFETCH(int, buttons);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(int, standardButtons);
    QFETCH(int, press);
    QFETCH(int, answer);

    restash::MessageBox box;
    restash::test::ModalDriver driver;
    QString seenTitle, seenText;
    int seenIcon = -1, seenButtons = -1;
    driver.When("QMessageBox", [&](QWidget* w) {
        auto* mb = static_cast<QMessageBox*>(w);
        seenTitle = mb->windowTitle();
        seenText = mb->text();
        seenIcon = mb->icon();
        seenButtons = int(mb->standardButtons());
        mb->button(QMessageBox::StandardButton(press))->click();
    });
    const Answer got = box.Show(MessageKind(kind), "The path to the Netscape\rcache directory\r\nis invalid.",
                                Buttons(buttons));
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QCOMPARE(seenTitle, caption);
    QCOMPARE(seenText, QString("The path to the Netscape\ncache directory\nis invalid."));
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenButtons, standardButtons);
    QCOMPARE(int(got), answer);
}

void MessageBoxTest::realBoxHelpButtonOpensHelpAndStaysUp() {
    std::vector<int> helpOpened;
    restash::MessageBox box([&](int context) { helpOpened.push_back(context); });
    restash::test::ModalDriver driver;
    driver.When("QMessageBox", [](QWidget* w) {
              static_cast<QMessageBox*>(w)->button(QMessageBox::Help)->click();
          })
        .When("QMessageBox", [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click(); });
    QCOMPARE(box.Show(MessageKind::Warning, "No Files To Delete.", Buttons::OkHelp, 11), Answer::Ok);
    QVERIFY(driver.failures().isEmpty());
    QCOMPARE(helpOpened, std::vector<int>{11});
}

void MessageBoxTest::realBoxClosedByEscapeAnswersTheSafeChoice() {
    restash::MessageBox box;
    restash::test::ModalDriver driver;
    auto escape = [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); };
    driver.When("QMessageBox", escape).When("QMessageBox", escape);
    QCOMPARE(box.Show(MessageKind::Confirmation, "Delete?", Buttons::YesNoCancel), Answer::Cancel);
    QCOMPARE(box.Show(MessageKind::Confirmation, "View?", Buttons::YesNo), Answer::No);
    QVERIFY(driver.failures().isEmpty());
}

void MessageBoxTest::enterTakesTheSafeAnswer_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("answer");
    QTest::newRow("delete") << QString(restash::kDeleteQuestion) << int(Buttons::YesNoCancel) << int(Answer::No);
    QTest::newRow("delete the whole cache")
        << QString(restash::kDeleteWholeCacheQuestion) << int(Buttons::YesNoCancel) << int(Answer::No);
    QTest::newRow("any other question") << "Replace the copy?" << int(Buttons::YesNo) << int(Answer::No);
    QTest::newRow("view the index") << QString(restash::kUncachingComplete) << int(Buttons::YesNo) << int(Answer::Yes);
    QTest::newRow("make a missing folder")
        << QString(restash::kCreateDirectoryQuestion) << int(Buttons::YesNo) << int(Answer::Yes);
    QTest::newRow("OK and Help") << "No Files To Delete." << int(Buttons::OkHelp) << int(Answer::Ok);
}

// A hurried Enter on a question that deletes or replaces loses nothing.
void MessageBoxTest::enterTakesTheSafeAnswer() {
    QFETCH(QString, text);
    QFETCH(int, buttons);
    QFETCH(int, answer);
    std::vector<int> helpOpened;
    restash::MessageBox box([&](int context) { helpOpened.push_back(context); });
    restash::test::ModalDriver driver;
    driver.When("QMessageBox", [](QWidget* w) { QTest::keyClick(Focused(w), Qt::Key_Return); });
    QCOMPARE(int(box.Show(MessageKind::Confirmation, text.toStdString(), Buttons(buttons), 3)), answer);
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QVERIFY(helpOpened.empty());
}

void MessageBoxTest::okHelpBoxComesBackFromHelpOnOkAndClosesOnEscape() {
    std::vector<int> helpOpened;
    restash::MessageBox box([&](int context) { helpOpened.push_back(context); });
    restash::test::ModalDriver driver;
    QString focusedAfterHelp;
    driver.When("QMessageBox", [](QWidget* w) {
              auto* help = static_cast<QMessageBox*>(w)->button(QMessageBox::Help);
              help->setFocus();
              QTest::keyClick(help, Qt::Key_Return);
          })
        .When("QMessageBox", [&](QWidget* w) {
            auto* focused = qobject_cast<QPushButton*>(Focused(w));
            focusedAfterHelp = focused ? focused->text() : QString();
            QTest::keyClick(Focused(w), Qt::Key_Return);
        })
        .When("QMessageBox", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(box.Show(MessageKind::Warning, "No Files To Uncache.", Buttons::OkHelp, 11), Answer::Ok);
    QCOMPARE(focusedAfterHelp, QString("OK"));
    QCOMPARE(helpOpened, std::vector<int>{11});
    QCOMPARE(box.Show(MessageKind::Warning, "No Files To Uncache.", Buttons::OkHelp, 11), Answer::Ok);
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QCOMPARE(helpOpened, std::vector<int>{11});
}

// A box shown while a window works shows the window as it is, and the
// controls are locked again afterwards.
void MessageBoxTest::aBoxOverLockedControlsLeavesThemUngreyed() {
    restash::MessageBox boxes;
    boxes.SetScripted(true);
    struct Seeing final : restash::Messages {
        restash::Messages& boxes;
        QWidget& panel;
        std::vector<bool> enabled;
        Seeing(restash::Messages& b, QWidget& p) : boxes(b), panel(p) {}
        Answer Show(MessageKind kind, std::string_view text, Buttons buttons, int help) override {
            enabled.push_back(panel.isEnabled());
            return boxes.Show(kind, text, buttons, help);
        }
    };
    QWidget panel;
    Seeing seeing(boxes, panel);
    restash::PanelMessages messages(seeing);
    messages.SetLocked(&panel);
    panel.setEnabled(false);
    messages.ShowError("locked");
    QVERIFY(!panel.isEnabled());
    panel.setEnabled(true);
    messages.ShowError("free");
    QVERIFY(panel.isEnabled());
    QCOMPARE(seeing.enabled, (std::vector<bool>{true, true}));
    QCOMPARE(boxes.Texts(), (std::vector<std::string>{"locked", "free"}));
}

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
