// The selection window bound to the core's selection state, and the road
// from the main window through it to the uncaching run and the deletion.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "core/app/browser_bridge.h"
#include "core/jobs/delete_job.h"
#include "core/jobs/job_texts.h"
#include "core/uncache/uncache_run.h"
#include "gui/dialog_result.h"
#include "gui/app.h"
#include "gui/layout.h"
#include "tests/gui/support/gui_fixture.h"
#include "tests/gui/support/modal_driver.h"

using namespace restash;
using restash::test::GuiFixture;
using restash::test::ModalDriver;
using restash::test::NsObject;

namespace {

constexpr std::int32_t kHour = 3600;
constexpr std::int32_t kDay = 86400;

NsObject Object(const std::string& url, const std::string& file, const std::string& mime, std::int32_t stamp,
                const std::string& body = "x") {
    NsObject o;
    o.url = url;
    o.fileName = file;
    o.mimeType = mime;
    o.lastAccessed = stamp;
    o.body = body;
    return o;
}

// Three sites: two recent ones (alpha, gamma) and an old one (beta); alpha
// also has an old page. "Now" is the selection window's time base.
std::vector<NsObject> Sites(std::int32_t now) {
    return {Object("http://www.alpha.com/index.html", "A1.HTM", "text/html", now - kHour,
                   "<HTML><TITLE>Alpha</TITLE><IMG SRC=logo.gif> Hello alpha</HTML>"),
            Object("http://www.alpha.com/logo.gif", "A2.GIF", "image/gif", now - 2 * kHour, "GIF89a"),
            Object("http://www.alpha.com/old.html", "A3.HTM", "text/html", now - 10 * kDay,
                   "<HTML><TITLE>Old</TITLE>Old alpha</HTML>"),
            Object("http://www.beta.org/page.html", "B1.HTM", "text/html", now - 10 * kDay,
                   "<HTML><TITLE>Beta</TITLE>Beta</HTML>"),
            Object("http://www.beta.org/file.zip", "B2.ZIP", "application/zip", now - 10 * kDay, "PK"),
            Object("http://www.gamma.net/pic.jpg", "G1.JPG", "image/jpeg", now - kHour, "JFIF")};
}

QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

bool Grey(QLabel* panel) { return panel->palette().color(QPalette::WindowText) == QColor(128, 128, 128); }

std::size_t FilesIn(const std::string& folder) {
    std::size_t n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.is_regular_file()) ++n;
    return n;
}

}  // namespace

class SelectionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { fixture_ = std::make_unique<GuiFixture>(); }
    void cleanup() {
        QVERIFY2(fixture_->messages.unanswered().empty(), "a question went unanswered");
        QCOMPARE(fixture_->messages.PendingAnswers(), std::size_t{0});
        windows_.reset();
        fixture_.reset();
    }

    void controlsOfTheWindow();
    void progressWindowControls();
    void firstPaintReadsTheIndexBehindTheBusyPanel();
    void movesDoubleClicksAndCounts();
    void ageFilterRebuildsTheLists();
    void typeBoxesGreyTheirCounts();
    void nothingChosenHasNothingToUncache();
    void netscapeRunningAtUncacheOnlyWarns();
    void finishedRunAnsweredNoShowsTheInstructions();
    void finishedRunAnsweredYesStartsNetscapeOnTheIndex();
    void stoppedRunLeavesTheSelectionWindowOpen();
    void deleteAsksAndRemovesTheSelection();
    void enterPressesTheFocusedButtonAndTheFocusStays();
    void aBadLineOfTheIndexIsWarnedOfOnceAndTheRestListed();

private:
    // Opens the selection window with Vivov Evizuviv and runs body once the
    // index has been read; body must close the window. Returns the steps that
    // never came.
    QStringList Road(const std::function<void(SelectionDialog&)>& body) {
        windows_ = std::make_unique<Windows>(fixture_->shell);
        windows_->mainWindow.show();
        if (!QTest::qWaitForWindowExposed(&windows_->mainWindow)) return {"main window not shown"};
        QCoreApplication::processEvents();
        ModalDriver driver;
        driver.When(
            "restash::SelectionDialog",
            [&](QWidget* w) {
                auto* s = static_cast<SelectionDialog*>(w);
                body(*s);
                // A check that failed inside body left the window up.
                if (s->isVisible()) s->done(Code(DialogResult::Cancelled));
            },
            [this](QWidget* w) {
                return !fixture_->shell.IndexLoadPending && !static_cast<SelectionDialog*>(w)->Working();
            });
        windows_->mainWindow.findChild<QPushButton*>("RestashButton")->click();
        return driver.failures();
    }
    template <typename T = QWidget>
    static T* Child(QWidget& w, const char* name) {
        T* child = w.findChild<T*>(name);
        if (!child) qFatal("no child %s", name);
        return child;
    }
    std::int32_t HashNow() const { return static_cast<std::int32_t>(GuiFixture::kNow - 65536); }
    std::int32_t TextNow() const { return static_cast<std::int32_t>(GuiFixture::kNow); }

    std::unique_ptr<GuiFixture> fixture_;
    std::unique_ptr<Windows> windows_;
};

void SelectionDialogTest::controlsOfTheWindow() {
    windows_ = std::make_unique<Windows>(fixture_->shell);
    SelectionDialog& s = windows_->selectionDialog;
    QCOMPARE(s.windowTitle(), QString("Restash - Selection Criteria"));
    // The window widens only as far as its counters need.
    QVERIFY(s.width() >= Scaled(607));
    QCOMPARE(s.height(), Scaled(288 + 22));  // with the line naming the cache
    QCOMPARE(s.minimumSize(), s.maximumSize());
    const std::tuple<const char*, const char*, const char*> buttons[] = {
        {"IncludeBtn", ">", "Add selection"},
        {"IncAllBtn", ">>", "Add all"},
        {"ExcludeBtn", "<", "Remove selection"},
        {"ExAllBtn", "<<", "Remove all"},
        {"UncacheButton", "&Uncache", "Uncache the current selection"},
        {"DeleteButton", "&Delete", "Delete the current selection"},
        {"CancelButton", "&Cancel", ""},
        {"HelpButton", "&Help", ""}};
    for (const auto& [name, caption, hint] : buttons) {
        auto* b = Child<QPushButton>(s, name);
        QCOMPARE(b->text(), QString(caption));
        QCOMPARE(b->toolTip(), QString(hint));
    }
    QVERIFY(Child<QPushButton>(s, "UncacheButton")->isDefault());
    QCOMPARE(Child<QLabel>(s, "SrcLabel")->text(), QString("Available Domains"));
    QCOMPARE(Child<QLabel>(s, "DstLabel")->text(), QString("Uncache/Delete"));
    QVERIFY(Child<QLabel>(s, "SrcLabel")->font().bold());
    QCOMPARE(Child<QListWidget>(s, "SrcList")->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(Child<QGroupBox>(s, "ChooseDates")->title(), QString("File Age"));
    QCOMPARE(Child<QGroupBox>(s, "FtypeBox")->title(), QString("File Types"));
    QCOMPARE(Child<QGroupBox>(s, "NumFilesBox")->title(), QString("Number of Files"));
    QCOMPARE(Child<QCheckBox>(s, "TextBox")->text(), QString("HTML/PlainText/Rich Text"));
    QCOMPARE(Child<QCheckBox>(s, "MediaBox")->text(), QString("Image/Sound/Video Files"));
    QCOMPARE(Child<QCheckBox>(s, "OthersBox")->text(), QString("Other Files"));
    auto* fat = Child<QLabel>(s, "FatPanel");
    QCOMPARE(fat->text(), QString("Processing Cache Index. Please Wait."));
    QVERIFY(fat->isHidden());
    QCOMPARE(fat->size(), QSize(Scaled(305), Scaled(57)));
    QStringList combos;
    for (const char* name : {"OldNewBox", "AgeBox", "HDWBox"}) {
        auto* box = Child<QComboBox>(s, name);
        for (int i = 0; i < box->count(); ++i) combos << box->itemText(i);
    }
    QCOMPARE(combos, QStringList({"All ages", "Newer than", "Older than", "6", "12", "18", "Hour(s)", "Day(s)",
                                  "Week(s)"}));
    QCOMPARE(restash::test::TabOrder(Child(s, "SrcList"), 6),
             QStringList({"SrcList", "IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn", "DstList"}));
}

void SelectionDialogTest::progressWindowControls() {
    windows_ = std::make_unique<Windows>(fixture_->shell);
    ProgressDialog& m = windows_->progressDialog;
    QCOMPARE(m.windowTitle(), QString("Restash - Uncaching"));
    QCOMPARE(m.size(), QSize(Scaled(353), Scaled(127)));
    auto* stop = Child<QPushButton>(m, "StopButton");
    QCOMPARE(stop->text(), QString("&Stop"));
    QVERIFY(stop->isDefault());
    QCOMPARE(stop->geometry(), ScaledRect(128, 80, 97, 33));
    auto* gauge = Child<QProgressBar>(m, "Progressgauge");
    QCOMPARE(gauge->minimum(), 0);
    QCOMPARE(gauge->maximum(), 100);
    QVERIFY(Child<QLabel>(m, "ProgressLabel")->text().isEmpty());
    QCOMPARE(Child(m, "Panel2")->geometry(), ScaledRect(8, 9, 337, 24));
    QCOMPARE(Child(m, "Panel1")->geometry(), ScaledRect(8, 40, 337, 25));
}

void SelectionDialogTest::firstPaintReadsTheIndexBehindTheBusyPanel() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    // Every pass of the event loop: what the window shows while it reads.
    QTimer watch;
    bool seenBusy = false;
    QString busyCaption;
    connect(&watch, &QTimer::timeout, [&] {
        if (!windows_) return;
        SelectionDialog& s = windows_->selectionDialog;
        auto* fat = s.findChild<QLabel*>("FatPanel");
        if (fat->isVisible() && !Child(s, "BackPanel")->isEnabled()) {
            seenBusy = true;
            busyCaption = fat->text();
        }
    });
    watch.start(0);
    const QStringList failures = Road([&](SelectionDialog& s) {
        QVERIFY(Child(s, "FatPanel")->isHidden());
        QVERIFY(Child(s, "BackPanel")->isEnabled());
        QCOMPARE(Items(Child<QListWidget>(s, "DstList")),
                 QStringList({"www.alpha.com", "www.beta.org", "www.gamma.net"}));
        QVERIFY(Items(Child<QListWidget>(s, "SrcList")).isEmpty());
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("3"));
        QCOMPARE(Child<QLabel>(s, "NumMediaPanel")->text(), QString("2"));
        QCOMPARE(Child<QLabel>(s, "NumOtherPanel")->text(), QString("1"));
        // A text index starts without "Other Files".
        QVERIFY(!Child<QCheckBox>(s, "OthersBox")->isChecked());
        QVERIFY(Grey(Child<QLabel>(s, "NumOtherPanel")));
        QVERIFY(!Grey(Child<QLabel>(s, "NumTextPanel")));
        QVERIFY(!Child(s, "IncludeBtn")->isEnabled());
        QVERIFY(!Child(s, "IncAllBtn")->isEnabled());
        QVERIFY(Child(s, "ExcludeBtn")->isEnabled());
        QVERIFY(Child(s, "DeleteButton")->isEnabled());
        QVERIFY(!Child(s, "AgeBox")->isEnabled());
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    QVERIFY(seenBusy);
    QCOMPARE(busyCaption, QString("Processing Cache Index. Please Wait."));
    QVERIFY(fixture_->messages.shown().empty());
    QVERIFY(!windows_->selectionDialog.isVisible());
}

void SelectionDialogTest::movesDoubleClicksAndCounts() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    const QStringList failures = Road([&](SelectionDialog& s) {
        auto* src = Child<QListWidget>(s, "SrcList");
        auto* dst = Child<QListWidget>(s, "DstList");
        // Beta out: its page and its zip no longer count.
        dst->item(1)->setSelected(true);
        Child<QPushButton>(s, "ExcludeBtn")->click();
        QCOMPARE(Items(src), QStringList({"www.beta.org"}));
        QCOMPARE(Items(dst), QStringList({"www.alpha.com", "www.gamma.net"}));
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("2"));
        QCOMPARE(Child<QLabel>(s, "NumOtherPanel")->text(), QString("0"));
        QVERIFY(Child(s, "IncludeBtn")->isEnabled());
        // The list keeps the focus with an item selected where the move left off.
        QVERIFY(dst->hasFocus());
        QCOMPARE(dst->selectedItems().size(), 1);
        QCOMPARE(dst->selectedItems()[0]->text(), QString("www.gamma.net"));

        // A double-click on an available domain brings it back.
        const QRect rect = src->visualItemRect(src->item(0));
        QTest::mouseClick(src->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(src->viewport(), Qt::LeftButton, {}, rect.center());
        QVERIFY(Items(src).isEmpty());
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("3"));
        QVERIFY(!Child(s, "IncludeBtn")->isEnabled());

        Child<QPushButton>(s, "ExAllBtn")->click();
        QCOMPARE(Items(src).size(), 3);
        QVERIFY(Items(dst).isEmpty());
        QCOMPARE(Child<QLabel>(s, "NumMediaPanel")->text(), QString("0"));
        QVERIFY(!Child(s, "ExcludeBtn")->isEnabled());
        // Two of three chosen with the mouse and moved together.
        src->item(0)->setSelected(true);
        src->item(2)->setSelected(true);
        Child<QPushButton>(s, "IncludeBtn")->click();
        QCOMPARE(Items(dst), QStringList({"www.alpha.com", "www.gamma.net"}));
        QCOMPARE(Items(src), QStringList({"www.beta.org"}));
        Child<QPushButton>(s, "IncAllBtn")->click();
        QCOMPARE(Items(dst).size(), 3);
        Child<QPushButton>(s, "CancelButton")->click();
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
}

void SelectionDialogTest::ageFilterRebuildsTheLists() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    const QStringList failures = Road([&](SelectionDialog& s) {
        auto* dst = Child<QListWidget>(s, "DstList");
        auto* oldNew = Child<QComboBox>(s, "OldNewBox");
        auto* age = Child<QComboBox>(s, "AgeBox");
        auto* unit = Child<QComboBox>(s, "HDWBox");
        // A move made before is undone by any change of the filter.
        dst->item(0)->setSelected(true);
        Child<QPushButton>(s, "ExcludeBtn")->click();
        oldNew->setCurrentIndex(1);  // Newer than 6 hours
        QVERIFY(age->isEnabled() && unit->isEnabled());
        QCOMPARE(Items(dst), QStringList({"www.alpha.com", "www.gamma.net"}));
        QVERIFY(Items(Child<QListWidget>(s, "SrcList")).isEmpty());
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("1"));
        QCOMPARE(Child<QLabel>(s, "NumMediaPanel")->text(), QString("2"));
        QCOMPARE(s.state().AgeLower(), TextNow() - 6 * kHour);

        unit->setCurrentIndex(1);  // Day(s): 1 to 6, showing 1
        QStringList ages;
        for (int i = 0; i < age->count(); ++i) ages << age->itemText(i);
        QCOMPARE(ages, QStringList({"1", "2", "3", "4", "5", "6"}));
        QCOMPARE(age->currentText(), QString("1"));
        QCOMPARE(s.state().AgeLower(), TextNow() - kDay);

        oldNew->setCurrentIndex(2);  // Older than 1 day
        QCOMPARE(Items(dst), QStringList({"www.alpha.com", "www.beta.org"}));
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("2"));
        QCOMPARE(Child<QLabel>(s, "NumOtherPanel")->text(), QString("1"));

        oldNew->setCurrentIndex(0);
        QVERIFY(!age->isEnabled() && !unit->isEnabled());
        QCOMPARE(Items(dst).size(), 3);
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
}

void SelectionDialogTest::typeBoxesGreyTheirCounts() {
    fixture_->WriteCacheSetup(Sites(HashNow()), true);
    const QStringList failures = Road([&](SelectionDialog& s) {
        // A hash index starts with "Other Files" ticked.
        QVERIFY(Child<QCheckBox>(s, "OthersBox")->isChecked());
        QVERIFY(!Grey(Child<QLabel>(s, "NumOtherPanel")));
        Child<QCheckBox>(s, "TextBox")->click();
        QVERIFY(Grey(Child<QLabel>(s, "NumTextPanel")));
        // The counts stay as they were.
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("3"));
        Child<QCheckBox>(s, "TextBox")->click();
        QVERIFY(!Grey(Child<QLabel>(s, "NumTextPanel")));
        Child<QCheckBox>(s, "MediaBox")->click();
        QVERIFY(Grey(Child<QLabel>(s, "NumMediaPanel")));
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
}

void SelectionDialogTest::nothingChosenHasNothingToUncache() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    const QStringList failures = Road([&](SelectionDialog& s) {
        Child<QPushButton>(s, "ExAllBtn")->click();
        Child<QPushButton>(s, "UncacheButton")->click();
        QVERIFY(s.isVisible());
        QVERIFY(!windows_->progressDialog.isVisible());
        Child<QPushButton>(s, "IncAllBtn")->click();
        // Domains chosen but every type box empty: still nothing.
        for (const char* box : {"TextBox", "MediaBox"}) Child<QCheckBox>(s, box)->click();
        Child<QPushButton>(s, "UncacheButton")->click();
        Child<QPushButton>(s, "CancelButton")->click();
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    const auto& shown = fixture_->messages.shown();
    QCOMPARE(shown.size(), std::size_t{2});
    for (const auto& m : shown) {
        QCOMPARE(m.text, std::string("No Files To Uncache."));
        QCOMPARE(m.kind, MessageKind::Warning);
        QCOMPARE(m.buttons, Buttons::OkHelp);
        QCOMPARE(m.helpContext, 11);
    }
}

void SelectionDialogTest::netscapeRunningAtUncacheOnlyWarns() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    const QStringList failures = Road([&](SelectionDialog& s) {
        fixture_->processes.running = true;
        Child<QPushButton>(s, "UncacheButton")->click();
        QVERIFY(s.isVisible());
        QVERIFY(!windows_->progressDialog.isVisible());
        QVERIFY(!fixture_->shell.UncachePending);
        Child<QPushButton>(s, "CancelButton")->click();
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kShutDownNetscape});
    QVERIFY(!std::filesystem::exists(fixture_->OfflineRoot()));
}

void SelectionDialogTest::finishedRunAnsweredNoShowsTheInstructions() {
    fixture_->WriteCacheSetup(Sites(HashNow()), true);
    fixture_->messages.SetNextAnswer(Answer::No);
    int result = -1;
    const QStringList failures = Road([&](SelectionDialog& s) {
        connect(&s, &QDialog::finished, [&](int r) { result = r; });
        Child<QPushButton>(s, "UncacheButton")->click();
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    QCOMPARE(result, Code(DialogResult::DoNotView));
    QCOMPARE(fixture_->messages.Texts(),
             (std::vector<std::string>{kUncachingComplete, IndexInstructionsText(fixture_->shell.settings)}));
    QVERIFY(fixture_->launcher.calls.empty());
    QVERIFY(!fixture_->shell.ViewIndexRequested);
    QVERIFY(restash::test::FileExists(fixture_->OfflineRoot() + "HTMINDEX.HTM"));
    QVERIFY(restash::test::FileExists(fixture_->OfflineRoot() + "HTMLIST"));
    QVERIFY(!windows_->progressDialog.isVisible());
}

void SelectionDialogTest::finishedRunAnsweredYesStartsNetscapeOnTheIndex() {
    fixture_->WriteCacheSetup(Sites(HashNow()), true);
    fixture_->messages.SetNextAnswer(Answer::Yes);
    const QStringList failures = Road([&](SelectionDialog& s) {
        Child<QPushButton>(s, "UncacheButton")->click();
        QVERIFY(!s.isVisible());
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kUncachingComplete});
    QVERIFY(fixture_->shell.ViewIndexRequested);
    QCOMPARE(fixture_->launcher.calls.size(), std::size_t{1});
    QCOMPARE(fixture_->launcher.calls[0].program, fixture_->home() + "netscape");
    QCOMPARE(fixture_->launcher.calls[0].file, fixture_->OfflineRoot() + "HTMINDEX.HTM");
    // The page of the recent site was copied and converted.
    QVERIFY(FilesIn(fixture_->OfflineRoot()) > 2);
}

void SelectionDialogTest::stoppedRunLeavesTheSelectionWindowOpen() {
    fixture_->WriteCacheSetup(Sites(HashNow()), true);
    windows_ = std::make_unique<Windows>(fixture_->shell);
    // Stop as soon as the gauge first moves: the run notices it after the
    // current file.
    auto* gauge = windows_->progressDialog.findChild<QProgressBar*>("Progressgauge");
    auto* stop = windows_->progressDialog.findChild<QPushButton*>("StopButton");
    bool stopped = false;
    connect(gauge, &QProgressBar::valueChanged, [&](int value) {
        if (value > 0 && !stopped) {
            stopped = true;
            stop->click();
        }
    });
    bool stayedOpen = false;
    ModalDriver driver;
    driver.When(
        "restash::SelectionDialog",
        [&](QWidget* w) {
            auto& s = *static_cast<SelectionDialog*>(w);
            Child<QPushButton>(s, "UncacheButton")->click();
            stayedOpen = s.isVisible();
            Child<QPushButton>(s, "CancelButton")->click();
        },
        [this](QWidget* w) {
            return !fixture_->shell.IndexLoadPending && !static_cast<SelectionDialog*>(w)->Working();
        });
    windows_->mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows_->mainWindow));
    windows_->mainWindow.findChild<QPushButton*>("RestashButton")->click();
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QVERIFY(stopped);
    QVERIFY(stayedOpen);
    // No question at the end of a stopped run, and the copies are gone.
    QVERIFY(fixture_->messages.shown().empty());
    QCOMPARE(FilesIn(fixture_->OfflineRoot()), std::size_t{0});
    QCOMPARE(FilesIn(fixture_->OfflineRoot() + "MEDIA"), std::size_t{0});
    QVERIFY(fixture_->launcher.calls.empty());
}

void SelectionDialogTest::deleteAsksAndRemovesTheSelection() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    const std::string cache = fixture_->home() + "cache/";
    const std::size_t before = FilesIn(cache);
    // No to the plain question (the other files are not ticked), then Yes to
    // the warning once every file of the cache is chosen.
    fixture_->messages.SetNextAnswer(Answer::No);
    fixture_->messages.SetNextAnswer(Answer::Yes);
    const QStringList failures = Road([&](SelectionDialog& s) {
        Child<QPushButton>(s, "DeleteButton")->click();
        QCOMPARE(FilesIn(cache), before);
        QCOMPARE(Items(Child<QListWidget>(s, "DstList")).size(), 3);
        Child<QCheckBox>(s, "OthersBox")->click();
        Child<QPushButton>(s, "DeleteButton")->click();
        QVERIFY(Items(Child<QListWidget>(s, "DstList")).isEmpty());
        QCOMPARE(Child<QLabel>(s, "NumTextPanel")->text(), QString("0"));
        QVERIFY(Child(s, "BackPanel")->isEnabled());
        QVERIFY(Child(s, "FatPanel")->isHidden());
        // Nothing left to delete.
        Child<QPushButton>(s, "DeleteButton")->click();
        Child<QPushButton>(s, "CancelButton")->click();
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    QCOMPARE(fixture_->messages.Texts(),
             (std::vector<std::string>{kDeleteQuestion, kDeleteWholeCacheQuestion, kNoFilesToDelete}));
    // Only the index is left, with its header line.
    QCOMPARE(FilesIn(cache), std::size_t{1});
    QVERIFY(restash::test::ReadBytes(cache + "FAT").starts_with("MCOM-Cache"));
}

// Enter on Delete asks (No: nothing goes); the focus is back on Delete, so
// Tab reaches Cancel, and Enter there closes the window without a run.
void SelectionDialogTest::enterPressesTheFocusedButtonAndTheFocusStays() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    const std::string cache = fixture_->home() + "cache/";
    const std::size_t before = FilesIn(cache);
    fixture_->messages.SetNextAnswer(Answer::No);
    int result = -1;
    const QStringList failures = Road([&](SelectionDialog& s) {
        auto* deleteButton = Child<QPushButton>(s, "DeleteButton");
        deleteButton->setFocus();
        QTest::keyClick(deleteButton, Qt::Key_Return);
        QCOMPARE(s.focusWidget(), deleteButton);
        QTest::keyClick(deleteButton, Qt::Key_Tab);
        QCOMPARE(s.focusWidget(), Child(s, "CancelButton"));
        QTest::keyClick(s.focusWidget(), Qt::Key_Return);
        result = s.result();
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kDeleteQuestion});
    QCOMPARE(FilesIn(cache), before);
    QCOMPARE(result, Code(DialogResult::Cancelled));
    QVERIFY(!std::filesystem::exists(fixture_->shell.settings.PageListPath()));
}

QTEST_MAIN(SelectionDialogTest)
void SelectionDialogTest::aBadLineOfTheIndexIsWarnedOfOnceAndTheRestListed() {
    fixture_->WriteCacheSetup(Sites(TextNow()), false);
    // A line whose time stamp is not a number, between two good ones.
    const std::string index = fixture_->shell.settings.CacheIndexPath();
    std::string text = restash::test::ReadBytes(index);
    const std::size_t second = text.find("\r\n") + 2;
    const std::size_t third = text.find("\r\n", second) + 2;
    std::string bad = text.substr(second, third - second);
    const std::size_t stampStart = bad.find('\t', bad.find('\t') + 1) + 1;
    bad.replace(stampStart, bad.find('\t', stampStart) - stampStart, "yesterday");
    text.insert(third, bad);
    restash::test::WriteBytes(index, text);

    const QStringList failures = Road([&](SelectionDialog& s) {
        QCOMPARE(Items(Child<QListWidget>(s, "DstList")),
                 QStringList({"www.alpha.com", "www.beta.org", "www.gamma.net"}));
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    const std::vector<std::string> shown = fixture_->messages.Texts();
    QCOMPARE(shown.size(), std::size_t{1});
    QVERIFY2(shown[0].find(index) != std::string::npos, shown[0].c_str());
    QVERIFY2(shown[0].find("line 3") != std::string::npos, shown[0].c_str());
}

#include "selection_dialog_test.moc"
