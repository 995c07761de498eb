#pragma once
// MainWindow: the main window, with its five buttons, its menu and the
// commands behind them.
#include <QMainWindow>

#include "gui/shell.h"

class QAction;
class QDialog;
class QMenu;
class QPushButton;

namespace restash {

// The windows the main window opens, each shown modally.
struct ShellWindows {
    QDialog* selection = nullptr;    // SelectionDialog
    QDialog* about = nullptr;        // AboutDialog
    QDialog* setup = nullptr;        // SetupDialog
    QDialog* preferences = nullptr;  // PreferencesDialog
    QDialog* search = nullptr;       // SearchDialog
};

// A file earlier versions left in the program's folder; the first show removes it.
inline constexpr const char* kListingFileName = "LISTING.TXT";

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Shell& shell, QWidget* parent = nullptr);

    void SetWindows(const ShellWindows& windows) { windows_ = windows; }

    // The first show: ProgramDir, the settings, the run state, and the
    // warning when the cache index is missing.
    void FirstShow();

    // The commands (buttons and menu items run the same code).
    void ChooseAndUncache();  // Vivov Evizuviv
    void ViewIndex();         // View Offline Index
    void SearchIndex();       // Search Offline Index
    void OpenSetup();         // Setup
    void OpenPreferences();   // Preferences
    void ShowHelpContents();  // Help contents
    void ShowAbout();         // About
    void Exit();              // Exit

    // Brings the window (or the modal window above it) to the front.
    void BringForward();

    // True once FirstShow has run.
    bool Shown() const { return shown_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void WarnIfCacheMissing();
    // Shows a window modally; afterwards the keyboard focus is back here.
    int RunModal(QDialog* dialog);
    bool CacheIndexMissing() const;

    Shell& shell_;
    ShellWindows windows_;
    bool shown_ = false;

    QPushButton* uncacheButton_;
    QPushButton* viewButton_;
    QPushButton* searchButton_;
    QPushButton* setupButton_;
    QPushButton* exitButton_;
    QMenu* fileMenu_;
    QMenu* setupMenu_;
    QMenu* helpMenu_;
    QAction* uncacheAction_;
    QAction* viewAction_;
    QAction* searchAction_;
    QAction* fileSeparator_;
    QAction* exitAction_;
    QAction* locationsAction_;
    QAction* preferencesAction_;
    QAction* contentsAction_;
    QAction* helpSeparator_;
    QAction* aboutAction_;
};


}  // namespace restash
