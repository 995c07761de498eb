#include "gui/main_window.h"

#include "core/platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <filesystem>
#include <system_error>

#include "core/app/browser_bridge.h"
#include "core/app/program_dir.h"
#include "core/cache/cache_source.h"
#include "core/jobs/job_texts.h"
#include "core/platform/error.h"
#include "gui/dialog_result.h"
#include "gui/gui_texts.h"
#include "gui/layout.h"
#include "gui/product_picture.h"

namespace restash {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter presses the button that has the focus, as Space does.
    button->setAutoDefault(true);
    Place(button, l, t, w, h);
    return button;
}

QAction* MakeAction(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* MakeSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

MainWindow::MainWindow(Shell& shell, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      shell_(shell) {
    setObjectName(QStringLiteral("ControlForm"));
    setWindowTitle(QStringLiteral("Restash"));
    setWindowIcon(ProgramIcon());
    setFont(WindowFont());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    FixClientSize(client, 193, 209);
    setCentralWidget(client);

    uncacheButton_ = MakeButton(client, "RestashButton", "&Vivov Evizuviv", 16, 16, 161, 33);
    viewButton_ = MakeButton(client, "ViewButton", "&View Offline Index", 16, 64, 161, 33);
    searchButton_ = MakeButton(client, "SearchButton", "Search &Offline Index", 16, 112, 161, 33);
    setupButton_ = MakeButton(client, "SetupButton", "S&etup", 16, 160, 73, 33);
    exitButton_ = MakeButton(client, "ExitButton", "E&xit", 104, 160, 73, 33);
    setTabOrder(uncacheButton_, viewButton_);
    setTabOrder(viewButton_, searchButton_);
    setTabOrder(searchButton_, setupButton_);
    setTabOrder(setupButton_, exitButton_);

    QMenuBar* menu = menuBar();
    menu->setObjectName(QStringLiteral("MainMenu1"));
    fileMenu_ = menu->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("File1"));
    uncacheAction_ = MakeAction(fileMenu_, "Restash1", "&Vivov Evizuviv...");
    viewAction_ = MakeAction(fileMenu_, "ViewOfflineIndex1", "&View Offline Index");
    searchAction_ = MakeAction(fileMenu_, "SearchOfflineIndex1", "Search &Offline Index...");
    fileSeparator_ = MakeSeparator(fileMenu_, "N3");
    exitAction_ = MakeAction(fileMenu_, "Exit1", "E&xit");
    setupMenu_ = menu->addMenu(QStringLiteral("&Setup"));
    setupMenu_->setObjectName(QStringLiteral("Setup1"));
    locationsAction_ = MakeAction(setupMenu_, "DirectoryFileLocations1", "&Directory/File Locations...");
    preferencesAction_ = MakeAction(setupMenu_, "Preferences1", "&Preferences...");
    helpMenu_ = menu->addMenu(QStringLiteral("&Help"));
    helpMenu_->setObjectName(QStringLiteral("Help1"));
    contentsAction_ = MakeAction(helpMenu_, "Contents1", "&Contents");
    helpSeparator_ = MakeSeparator(helpMenu_, "N1");
    aboutAction_ = MakeAction(helpMenu_, "About1", "&About...");

    connect(uncacheButton_, &QPushButton::clicked, this, &MainWindow::ChooseAndUncache);
    connect(uncacheAction_, &QAction::triggered, this, &MainWindow::ChooseAndUncache);
    connect(viewButton_, &QPushButton::clicked, this, &MainWindow::ViewIndex);
    connect(viewAction_, &QAction::triggered, this, &MainWindow::ViewIndex);
    connect(searchButton_, &QPushButton::clicked, this, &MainWindow::SearchIndex);
    connect(searchAction_, &QAction::triggered, this, &MainWindow::SearchIndex);
    connect(setupButton_, &QPushButton::clicked, this, &MainWindow::OpenSetup);
    connect(locationsAction_, &QAction::triggered, this, &MainWindow::OpenSetup);
    connect(preferencesAction_, &QAction::triggered, this, &MainWindow::OpenPreferences);
    connect(contentsAction_, &QAction::triggered, this, &MainWindow::ShowHelpContents);
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(exitButton_, &QPushButton::clicked, this, &MainWindow::Exit);
    connect(exitAction_, &QAction::triggered, this, &MainWindow::Exit);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &MainWindow::ShowHelpContents);

    // Fixed size: the client area plus the menu bar.
    setFixedSize(client->width(), client->height() + menu->sizeHint().height());
    CentreOnScreen(this);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    FirstShow();
}

void MainWindow::FirstShow() {
    shown_ = true;
    const std::string programDir = FindProgramDir();
    std::error_code ec;
    if (IsFile(programDir + kListingFileName)) std::filesystem::remove(programDir + kListingFileName, ec);
    shell_.settings = LoadSettings(programDir);
    shell_.cache.reset();
    shell_.ViewIndexRequested = false;
    // The warning comes once the window is up, so it has a window to sit on.
    QMetaObject::invokeMethod(this, &MainWindow::WarnIfCacheMissing, Qt::QueuedConnection);
}

bool MainWindow::CacheIndexMissing() const { return !CacheIsThere(shell_.settings.CacheIndexPath()); }

void MainWindow::WarnIfCacheMissing() {
    if (CacheIndexMissing()) shell_.messages.Warning(kCachePathInvalid);
}

void MainWindow::ChooseAndUncache() {
    if (shell_.NetscapeRunning()) return;
    if (CacheIndexMissing()) {
        shell_.messages.Warning(kCachePathInvalid);
        return;
    }
    try {
        shell_.cache = OpenCacheSource(shell_.settings.CacheIndexPath());
    } catch (const std::exception& e) {
        shell_.messages.ShowError(e.what());
        return;
    }
    shell_.IndexLoadPending = true;
    if (!windows_.selection) return;
    const int result = RunModal(windows_.selection);
    if (result == Code(DialogResult::ViewIndex) && shell_.ViewIndexRequested)
        OpenIndexPage(shell_.settings, shell_.launcher, shell_.messages);
}

void MainWindow::ViewIndex() {
    if (!IsFile(shell_.settings.IndexPagePath())) {
        shell_.messages.ShowError(kCreateIndexFirst);
        return;
    }
    if (!IsFile(shell_.settings.NetscapeProgramPath())) {
        shell_.messages.ShowError(kViewCouldNotOpenNetscape);
        ShowIndexInstructions(shell_.settings, shell_.messages);
        return;
    }
    OpenIndexPage(shell_.settings, shell_.launcher, shell_.messages);
}

void MainWindow::SearchIndex() {
    if (!IsFile(shell_.settings.PageListPath())) {
        shell_.messages.ShowError(kCreateIndexFirst);
        return;
    }
    if (windows_.search) RunModal(windows_.search);
}

void MainWindow::OpenSetup() {
    if (windows_.setup) RunModal(windows_.setup);
}

void MainWindow::OpenPreferences() {
    if (windows_.preferences) RunModal(windows_.preferences);
}

void MainWindow::ShowHelpContents() { shell_.OpenHelp(kMainHelpContext); }

void MainWindow::ShowAbout() {
    QCoreApplication::processEvents();
    if (windows_.about) RunModal(windows_.about);
}

int MainWindow::RunModal(QDialog* dialog) {
    const QPointer<QWidget> focused = focusWidget();
    const int result = dialog->exec();
    // A window that closed itself (after a message box of its own) leaves
    // the keyboard nowhere; it comes back to where it was before.
    activateWindow();
    (focused && focused->isEnabled() ? focused.data() : static_cast<QWidget*>(uncacheButton_))->setFocus();
    return result;
}

void MainWindow::Exit() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void MainWindow::BringForward() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    // A modal window on top stays on top.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

}  // namespace restash
