// The main window: its buttons and menu, the first show, and every command
// against a real home folder and settings file.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <QtTest>

#include "core/app/browser_bridge.h"
#include "core/cache/netscape_source.h"
#include "core/jobs/job_texts.h"
#include "gui/app.h"
#include "gui/gui_texts.h"
#include "gui/selection_dialog.h"
#include "gui/layout.h"
#include "tests/gui/support/gui_fixture.h"
#include "tests/gui/support/modal_driver.h"
#include "tests/support/netscape_cache.h"

using namespace restash;
using restash::test::GuiFixture;
using restash::test::ModalDriver;

namespace {

const std::string kShutDown = "Please shut down Netscape\r\nbefore continuing.";

// A home folder whose settings name a text-form cache with one page, a
// Netscape program and an offline folder, all inside it.
void WriteSetup(GuiFixture& f) {
    restash::test::NsObject page;
    page.url = "http://www.example.com/index.html";
    page.fileName = "M0000001.HTM";
    page.mimeType = "text/html";
    page.body = "<HTML><TITLE>Example</TITLE>Hello</HTML>";
    page.lastAccessed = 900'000'000;
    f.WriteCacheSetup({page}, false);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { fixture_ = std::make_unique<GuiFixture>(); }
    void cleanup() {
        QVERIFY2(fixture_->messages.unanswered().empty(), "a question went unanswered");
        windows_.reset();
        fixture_.reset();
    }

    void buttonsMenuAndWindow();
    void windowsAreCreatedInOrderWithTheirCaptions();
    void firstShowLoadsSettingsAndWarnsOfAMissingCache();
    void firstShowWithACacheWarnsOfNothingAndRemovesTheListing();
    void vivovWithNetscapeRunningOnlyWarns();
    void vivovWithAMissingIndexWarnsAndOpensNothing();
    void vivovDecidesTheFormatAndOpensTheSelectionWindow();
    void viewWithoutAnIndexPage();
    void viewWithoutTheNetscapeProgramShowsTheInstructions();
    void viewStartsNetscapeOnTheIndexPage();
    void viewThatCannotStartNetscape();
    void searchWithoutAPageList();
    void helpContentsAndAMissingHelpViewer();
    void menuItemsOpenTheirWindows();
    void theKeyboardFocusComesBack();

private:
    MainWindow& Main() {
        if (!windows_) windows_ = std::make_unique<Windows>(fixture_->shell);
        return windows_->mainWindow;
    }
    void ShowMain() {
        Main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Main()));
        QCoreApplication::processEvents();
    }
    std::unique_ptr<GuiFixture> fixture_;
    std::unique_ptr<Windows> windows_;
};

void MainWindowTest::buttonsMenuAndWindow() {
    MainWindow& main = Main();
    QCOMPARE(main.windowTitle(), QString("Restash"));
    const std::pair<const char*, const char*> buttons[] = {{"RestashButton", "&Vivov Evizuviv"},
                                                           {"ViewButton", "&View Offline Index"},
                                                           {"SearchButton", "Search &Offline Index"},
                                                           {"SetupButton", "S&etup"},
                                                           {"ExitButton", "E&xit"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = main.findChild<QPushButton*>(name);
        QVERIFY2(button, name);
        QCOMPARE(button->text(), QString(caption));
    }
    QCOMPARE(main.findChild<QPushButton*>("RestashButton")->geometry(), ScaledRect(16, 16, 161, 33));
    QCOMPARE(main.findChild<QPushButton*>("ExitButton")->geometry(), ScaledRect(104, 160, 73, 33));
    QCOMPARE(restash::test::TabOrder(main.findChild<QPushButton*>("RestashButton"), 5),
             QStringList({"RestashButton", "ViewButton", "SearchButton", "SetupButton", "ExitButton"}));

    // Fixed size around a client area of 193 x 209 at 120 dpi, no maximise box.
    QCOMPARE(main.centralWidget()->size(), QSize(Scaled(193), Scaled(209)));
    QCOMPARE(main.minimumSize(), main.maximumSize());
    QVERIFY(!(main.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(main.windowFlags() & Qt::WindowMinimizeButtonHint);

    QCOMPARE(main.menuBar()->objectName(), QString("MainMenu1"));
    QStringList menus;
    for (QAction* a : main.menuBar()->actions()) menus << a->menu()->objectName() + "=" + a->text();
    QCOMPARE(menus, QStringList({"File1=&File", "Setup1=&Setup", "Help1=&Help"}));
    QStringList items;
    for (QAction* m : main.menuBar()->actions())
        for (QAction* a : m->menu()->actions()) items << a->objectName() + "=" + (a->isSeparator() ? "-" : a->text());
    QCOMPARE(items, QStringList({"Restash1=&Vivov Evizuviv...", "ViewOfflineIndex1=&View Offline Index",
                                 "SearchOfflineIndex1=Search &Offline Index...", "N3=-", "Exit1=E&xit",
                                 "DirectoryFileLocations1=&Directory/File Locations...",
                                 "Preferences1=&Preferences...", "Contents1=&Contents", "N1=-",
                                 "About1=&About..."}));
}

void MainWindowTest::windowsAreCreatedInOrderWithTheirCaptions() {
    Main();
    const QWidget* created[] = {&windows_->mainWindow,   &windows_->progressDialog,  &windows_->selectionDialog,
                                &windows_->aboutDialog,      &windows_->setupDialog, &windows_->preferencesDialog};
    const char* captions[] = {"Restash",         "Restash - Uncaching", "Restash - Selection Criteria",
                              "About Restash",   "Restash - Setup",     "Restash - Preferences"};
    for (std::size_t i = 0; i < std::size(created); ++i) {
        QCOMPARE(created[i]->windowTitle(), QString(captions[i]));
        // Members are built in declaration order: the addresses rise with it.
        if (i > 0) QVERIFY(created[i - 1] < created[i]);
    }
}

void MainWindowTest::firstShowLoadsSettingsAndWarnsOfAMissingCache() {
    fixture_->shell.cache = std::make_shared<NetscapeHashSource>("/nowhere/FAT.DB");
    fixture_->shell.ViewIndexRequested = true;
    ShowMain();
    QVERIFY(Main().Shown());
    QCOMPARE(fixture_->shell.settings.ProgramDir, fixture_->home());
    QCOMPARE(fixture_->shell.settings.OfflineDir, fixture_->home() + "OFFLINE/");
    QVERIFY(!fixture_->shell.cache);
    QVERIFY(!fixture_->shell.ViewIndexRequested);
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kCachePathInvalid});
    QCOMPARE(fixture_->messages.shown()[0].kind, MessageKind::Warning);
    // Showing it again is not a first show.
    Main().hide();
    ShowMain();
    QCOMPARE(fixture_->messages.shown().size(), std::size_t{1});
}

void MainWindowTest::firstShowWithACacheWarnsOfNothingAndRemovesTheListing() {
    WriteSetup(*fixture_);
    restash::test::WriteBytes(fixture_->home() + "LISTING.TXT", "old");
    ShowMain();
    QVERIFY(fixture_->messages.shown().empty());
    QVERIFY(!restash::test::FileExists(fixture_->home() + "LISTING.TXT"));
    QCOMPARE(fixture_->shell.settings.CacheIndexPath(), fixture_->home() + "cache/FAT");
}

void MainWindowTest::vivovWithNetscapeRunningOnlyWarns() {
    WriteSetup(*fixture_);
    ShowMain();
    fixture_->processes.running = true;
    Main().findChild<QPushButton*>("RestashButton")->click();
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kShutDown});
    QVERIFY(!fixture_->shell.IndexLoadPending);
    QVERIFY(!windows_->selectionDialog.isVisible());
    QCOMPARE(fixture_->processes.asked, std::vector<std::string>{fixture_->home() + "cache/FAT"});
}

void MainWindowTest::vivovWithAMissingIndexWarnsAndOpensNothing() {
    ShowMain();
    fixture_->messages.ClearRecord();
    Main().findChild<QAction*>("Restash1")->trigger();
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kCachePathInvalid});
    QVERIFY(!fixture_->shell.IndexLoadPending);
}

void MainWindowTest::vivovDecidesTheFormatAndOpensTheSelectionWindow() {
    WriteSetup(*fixture_);
    ShowMain();
    fixture_->shell.cache = std::make_shared<NetscapeHashSource>("/nowhere/FAT.DB");
    ModalDriver driver;
    bool selectionShown = false;
    // Esc is ignored while the index is read, so it waits for the lists.
    driver.When(
        "restash::SelectionDialog",
        [&](QWidget* w) {
            selectionShown = true;
            QTest::keyClick(w, Qt::Key_Escape);
        },
        [&](QWidget* w) {
            return !fixture_->shell.IndexLoadPending && !static_cast<SelectionDialog*>(w)->Working();
        });
    Main().findChild<QPushButton*>("RestashButton")->click();
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QVERIFY(selectionShown);
    QCOMPARE(fixture_->shell.cache->Traits().format, IndexFormat::TextIndex);
    // Cancelled: Netscape is not started.
    QVERIFY(fixture_->launcher.calls.empty());
}

void MainWindowTest::viewWithoutAnIndexPage() {
    WriteSetup(*fixture_);
    ShowMain();
    Main().findChild<QPushButton*>("ViewButton")->click();
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{kCreateIndexFirst});
    QCOMPARE(fixture_->messages.shown()[0].kind, MessageKind::Error);
    QVERIFY(fixture_->launcher.calls.empty());
}

void MainWindowTest::viewWithoutTheNetscapeProgramShowsTheInstructions() {
    WriteSetup(*fixture_);
    ShowMain();
    std::filesystem::remove(fixture_->home() + "netscape");
    std::filesystem::create_directories(fixture_->home() + "OFFLINE");
    restash::test::WriteBytes(fixture_->home() + "OFFLINE/HTMINDEX.HTM", "<HTML></HTML>");
    Main().findChild<QAction*>("ViewOfflineIndex1")->trigger();
    QCOMPARE(fixture_->messages.Texts(),
             (std::vector<std::string>{kViewCouldNotOpenNetscape, IndexInstructionsText(fixture_->shell.settings)}));
    QCOMPARE(fixture_->messages.shown()[1].kind, MessageKind::Information);
    QVERIFY(fixture_->launcher.calls.empty());
}

void MainWindowTest::viewStartsNetscapeOnTheIndexPage() {
    WriteSetup(*fixture_);
    ShowMain();
    std::filesystem::create_directories(fixture_->home() + "OFFLINE");
    restash::test::WriteBytes(fixture_->home() + "OFFLINE/HTMINDEX.HTM", "<HTML></HTML>");
    // No check for a running Netscape here.
    fixture_->processes.running = true;
    Main().findChild<QPushButton*>("ViewButton")->click();
    QVERIFY(fixture_->messages.shown().empty());
    QCOMPARE(fixture_->launcher.calls.size(), std::size_t{1});
    QCOMPARE(fixture_->launcher.calls[0].program, fixture_->home() + "netscape");
    QCOMPARE(fixture_->launcher.calls[0].file, fixture_->home() + "OFFLINE/HTMINDEX.HTM");
}

void MainWindowTest::viewThatCannotStartNetscape() {
    WriteSetup(*fixture_);
    ShowMain();
    std::filesystem::create_directories(fixture_->home() + "OFFLINE");
    restash::test::WriteBytes(fixture_->home() + "OFFLINE/HTMINDEX.HTM", "<HTML></HTML>");
    fixture_->launcher.result = kLaunchAccessDenied;
    Main().findChild<QPushButton*>("ViewButton")->click();
    QCOMPARE(fixture_->messages.Texts(), (std::vector<std::string>{"Error 5 while loading Netscape.",
                                                                   IndexInstructionsText(fixture_->shell.settings)}));
}

void MainWindowTest::searchWithoutAPageList() {
    WriteSetup(*fixture_);
    ShowMain();
    Main().findChild<QPushButton*>("SearchButton")->click();
    Main().findChild<QAction*>("SearchOfflineIndex1")->trigger();
    QCOMPARE(fixture_->messages.Texts(), (std::vector<std::string>{kCreateIndexFirst, kCreateIndexFirst}));
}

void MainWindowTest::helpContentsAndAMissingHelpViewer() {
    WriteSetup(*fixture_);
    ShowMain();
    Main().findChild<QAction*>("Contents1")->trigger();
    QVERIFY(fixture_->messages.shown().empty());
    QVERIFY(!fixture_->launcher.calls.empty());
    QVERIFY(QString::fromStdString(fixture_->launcher.calls[0].file).endsWith("restash-help.html#context-1"));

    fixture_->launcher.calls.clear();
    fixture_->launcher.result = kLaunchFileNotFound;
    Main().findChild<QAction*>("Contents1")->trigger();
    QCOMPARE(fixture_->messages.Texts(), std::vector<std::string>{"Help file not found"});
}

void MainWindowTest::menuItemsOpenTheirWindows() {
    WriteSetup(*fixture_);
    ShowMain();
    ModalDriver driver;
    QStringList opened;
    auto close = [&](QWidget* w) {
        opened << w->windowTitle();
        QTest::keyClick(w, Qt::Key_Escape);
    };
    driver.When("restash::SetupDialog", close)
        .When("restash::SetupDialog", close)
        .When("restash::PreferencesDialog", close)
        .When("restash::AboutDialog", close);
    Main().findChild<QPushButton*>("SetupButton")->click();
    Main().findChild<QAction*>("DirectoryFileLocations1")->trigger();
    Main().findChild<QAction*>("Preferences1")->trigger();
    Main().findChild<QAction*>("About1")->trigger();
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QCOMPARE(opened, QStringList({"Restash - Setup", "Restash - Setup", "Restash - Preferences", "About Restash"}));
}

// After a search refused for its short text the text field has the focus
// for another try; after the window closes, the main window has it again.
void MainWindowTest::theKeyboardFocusComesBack() {
    WriteSetup(*fixture_);
    std::filesystem::create_directories(fixture_->shell.settings.OfflineDir);
    restash::test::WriteBytes(fixture_->shell.settings.PageListPath(), "");
    ShowMain();
    auto* searchButton = Main().findChild<QPushButton*>("SearchButton");
    searchButton->setFocus();
    QString focusedAfterRefusal;
    ModalDriver driver;
    driver.When("restash::SearchDialog", [&](QWidget* w) {
        auto* edit = w->findChild<QLineEdit*>("SearchEdit");
        edit->setText("a");
        w->findChild<QPushButton*>("SearchButton")->click();
        focusedAfterRefusal = w->focusWidget() ? w->focusWidget()->objectName() : QString();
        // The window closes itself, as after a search that found pages.
        static_cast<QDialog*>(w)->accept();
    });
    Main().SearchIndex();
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QCOMPARE(focusedAfterRefusal, QString("SearchEdit"));
    QVERIFY(restash::test::WaitFor([&] { return QApplication::activeWindow() == &Main(); }, 2000));
    QCOMPARE(QApplication::focusWidget(), searchButton);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
