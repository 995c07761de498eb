#pragma once
// The program's windows, created once in this order and kept until the
// program ends: the main window first, then the progress window, the
// selection window, the About box, Setup, Preferences and the search window.
#include "gui/about.h"
#include "gui/choices.h"
#include "gui/cont.h"
#include "gui/mainwin.h"
#include "gui/prefs.h"
#include "gui/search.h"
#include "gui/setup.h"
#include "gui/shell.h"

class QApplication;

namespace restash {

struct Windows {
    explicit Windows(Shell& shell);

    // Declared in the order of creation.
    TControlForm ControlForm;
    TMainForm MainForm;
    TSelectionForm SelectionForm;
    TAboutBox AboutBox;
    TSetupForm SetupForm;
    TPreferencesForm PreferencesForm;
    TSearchForm SearchForm;
};

// The start-up: one instance, the splash for splashMs, every window, the
// main window, the event loop. Returns the program's exit status.
int RunRestash(QApplication& app, int splashMs = 2000);

}  // namespace restash
