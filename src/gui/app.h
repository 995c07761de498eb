#pragma once
// The program's windows, created once in this order and kept until the
// program ends: the main window first, then the progress window, the
// selection window, the About box, Setup, Preferences and the search window.
#include "gui/about_dialog.h"
#include "gui/selection_dialog.h"
#include "gui/main_window.h"
#include "gui/progress_dialog.h"
#include "gui/preferences_dialog.h"
#include "gui/search_dialog.h"
#include "gui/setup_dialog.h"
#include "gui/shell.h"

class QApplication;

namespace restash {

// Each window keeps its form's name as its Qt object name (ControlForm,
// MainForm, SelectionForm, AboutBox, SetupForm, PreferencesForm, SearchForm),
// and each control its own (RestashButton, SrcList, FatPanel ...): the tests
// and the help contexts find them by those names.
struct Windows {
    explicit Windows(Shell& shell);

    // Declared in the order of creation.
    MainWindow mainWindow;
    ProgressDialog progressDialog;
    SelectionDialog selectionDialog;
    AboutDialog aboutDialog;
    SetupDialog setupDialog;
    PreferencesDialog preferencesDialog;
    SearchDialog searchDialog;
};

// The start-up: one instance, the splash for splashMs, every window, the
// main window, the event loop. Returns the program's exit status.
int RunRestash(QApplication& app, int splashMs = 2000);

}  // namespace restash
