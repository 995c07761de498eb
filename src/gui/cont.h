#pragma once
// TControlForm: the main window, with its five buttons, its menu and the
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
    QDialog* selection = nullptr;    // TSelectionForm
    QDialog* about = nullptr;        // TAboutBox
    QDialog* setup = nullptr;        // TSetupForm
    QDialog* preferences = nullptr;  // TPreferencesForm
    QDialog* search = nullptr;       // TSearchForm
};

// A file earlier versions left in the program's folder; the first show removes it.
inline constexpr const char* kListingFileName = "LISTING.TXT";

class TControlForm final : public QMainWindow {
    Q_OBJECT
public:
    explicit TControlForm(Shell& shell, QWidget* parent = nullptr);

    void SetWindows(const ShellWindows& windows) { windows_ = windows; }

    // The first show: ProgramDir, the settings, the run state, and the
    // warning when the cache index is missing.
    void FormShow();

    // The commands (buttons and menu items run the same code).
    void RestashButtonClick();   // Vivov Evizuviv
    void ViewButtonClick();      // View Offline Index
    void SearchButtonClick();    // Search Offline Index
    void SetupButtonClick();     // Setup
    void Preferences1Click();    // Preferences
    void Contents1Click();       // Help contents
    void About1Click();          // About
    void ExitButtonClick();      // Exit

    // Brings the window (or the modal window above it) to the front.
    void BringForward();

    // True once FormShow has run.
    bool Shown() const { return shown_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void WarnIfCacheMissing();
    bool CacheIndexMissing() const;

    Shell& shell_;
    ShellWindows windows_;
    bool shown_ = false;

    QPushButton* RestashButton;
    QPushButton* ViewButton;
    QPushButton* SearchButton;
    QPushButton* SetupButton;
    QPushButton* ExitButton;
    QMenu* File1;
    QMenu* Setup1;
    QMenu* Help1;
    QAction* Restash1;
    QAction* ViewOfflineIndex1;
    QAction* SearchOfflineIndex1;
    QAction* N3;
    QAction* Exit1;
    QAction* DirectoryFileLocations1;
    QAction* Preferences1;
    QAction* Contents1;
    QAction* N1;
    QAction* About1;
};


}  // namespace restash
