#include "gui/cont.h"

#include "core/platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
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

TControlForm::TControlForm(Shell& shell, QWidget* parent)
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

    RestashButton = MakeButton(client, "RestashButton", "&Vivov Evizuviv", 16, 16, 161, 33);
    ViewButton = MakeButton(client, "ViewButton", "&View Offline Index", 16, 64, 161, 33);
    SearchButton = MakeButton(client, "SearchButton", "Search &Offline Index", 16, 112, 161, 33);
    SetupButton = MakeButton(client, "SetupButton", "S&etup", 16, 160, 73, 33);
    ExitButton = MakeButton(client, "ExitButton", "E&xit", 104, 160, 73, 33);
    setTabOrder(RestashButton, ViewButton);
    setTabOrder(ViewButton, SearchButton);
    setTabOrder(SearchButton, SetupButton);
    setTabOrder(SetupButton, ExitButton);

    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Restash1 = MakeAction(File1, "Restash1", "&Vivov Evizuviv...");
    ViewOfflineIndex1 = MakeAction(File1, "ViewOfflineIndex1", "&View Offline Index");
    SearchOfflineIndex1 = MakeAction(File1, "SearchOfflineIndex1", "Search &Offline Index...");
    N3 = MakeSeparator(File1, "N3");
    Exit1 = MakeAction(File1, "Exit1", "E&xit");
    Setup1 = MainMenu1->addMenu(QStringLiteral("&Setup"));
    Setup1->setObjectName(QStringLiteral("Setup1"));
    DirectoryFileLocations1 = MakeAction(Setup1, "DirectoryFileLocations1", "&Directory/File Locations...");
    Preferences1 = MakeAction(Setup1, "Preferences1", "&Preferences...");
    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Contents1 = MakeAction(Help1, "Contents1", "&Contents");
    N1 = MakeSeparator(Help1, "N1");
    About1 = MakeAction(Help1, "About1", "&About...");

    connect(RestashButton, &QPushButton::clicked, this, &TControlForm::RestashButtonClick);
    connect(Restash1, &QAction::triggered, this, &TControlForm::RestashButtonClick);
    connect(ViewButton, &QPushButton::clicked, this, &TControlForm::ViewButtonClick);
    connect(ViewOfflineIndex1, &QAction::triggered, this, &TControlForm::ViewButtonClick);
    connect(SearchButton, &QPushButton::clicked, this, &TControlForm::SearchButtonClick);
    connect(SearchOfflineIndex1, &QAction::triggered, this, &TControlForm::SearchButtonClick);
    connect(SetupButton, &QPushButton::clicked, this, &TControlForm::SetupButtonClick);
    connect(DirectoryFileLocations1, &QAction::triggered, this, &TControlForm::SetupButtonClick);
    connect(Preferences1, &QAction::triggered, this, &TControlForm::Preferences1Click);
    connect(Contents1, &QAction::triggered, this, &TControlForm::Contents1Click);
    connect(About1, &QAction::triggered, this, &TControlForm::About1Click);
    connect(ExitButton, &QPushButton::clicked, this, &TControlForm::ExitButtonClick);
    connect(Exit1, &QAction::triggered, this, &TControlForm::ExitButtonClick);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TControlForm::Contents1Click);

    // Fixed size: the client area plus the menu bar.
    setFixedSize(client->width(), client->height() + MainMenu1->sizeHint().height());
    CentreOnScreen(this);
}

void TControlForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    FormShow();
}

void TControlForm::FormShow() {
    shown_ = true;
    const std::string programDir = FindProgramDir();
    std::error_code ec;
    if (IsFile(programDir + kListingFileName)) std::filesystem::remove(programDir + kListingFileName, ec);
    shell_.settings = LoadSettings(programDir);
    shell_.cache.reset();
    shell_.ViewIndexRequested = false;
    // The warning comes once the window is up, so it has a window to sit on.
    QMetaObject::invokeMethod(this, &TControlForm::WarnIfCacheMissing, Qt::QueuedConnection);
}

bool TControlForm::CacheIndexMissing() const { return !IsFile(shell_.settings.CacheIndexPath()); }

void TControlForm::WarnIfCacheMissing() {
    if (CacheIndexMissing()) shell_.messages.Warning(kCachePathInvalid);
}

void TControlForm::RestashButtonClick() {
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
    const int result = windows_.selection->exec();
    if (result == Code(DialogResult::ViewIndex) && shell_.ViewIndexRequested)
        OpenIndexPage(shell_.settings, shell_.launcher, shell_.messages);
}

void TControlForm::ViewButtonClick() {
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

void TControlForm::SearchButtonClick() {
    if (!IsFile(shell_.settings.PageListPath())) {
        shell_.messages.ShowError(kCreateIndexFirst);
        return;
    }
    if (windows_.search) windows_.search->exec();
}

void TControlForm::SetupButtonClick() {
    if (windows_.setup) windows_.setup->exec();
}

void TControlForm::Preferences1Click() {
    if (windows_.preferences) windows_.preferences->exec();
}

void TControlForm::Contents1Click() { shell_.OpenHelp(kMainHelpContext); }

void TControlForm::About1Click() {
    QCoreApplication::processEvents();
    if (windows_.about) windows_.about->exec();
}

void TControlForm::ExitButtonClick() { close(); }

void TControlForm::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void TControlForm::BringForward() {
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
