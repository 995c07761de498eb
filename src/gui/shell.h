#pragma once
// The application shell's state and services, shared by every window: the
// Settings record, the run-state values (the cache and its form, IndexLoadPending,
// ViewIndexRequested, UncachePending) and the seams to the outside world
// (message boxes, running processes, starting programs, the clock, the file
// dialogs). One instance lives as long as the program; windows hold a
// reference to it.
#include "core/app/process_table.h"
#include "core/app/program_launcher.h"
#include "core/app/settings.h"
#include <memory>

#include "core/cache/cache_source.h"
#include "core/jobs/services.h"
#include "core/platform/clock.h"
#include "core/platform/messages.h"
#include "gui/file_chooser.h"

namespace restash {

struct Shell {
    Shell(Messages& m, ProcessTable& p, ProgramLauncher& l, const Clock& c, FileChooser& f)
        : messages(m), processes(p), launcher(l), clock(c), chooser(f) {}

    Settings settings;
    std::shared_ptr<CacheSource> cache;  // the cache of the last Vivov Evizuviv, its form detected
    bool IndexLoadPending = false;
    bool ViewIndexRequested = false;
    bool UncachePending = false;

    Messages& messages;
    ProcessTable& processes;
    ProgramLauncher& launcher;
    const Clock& clock;
    FileChooser& chooser;

    // Opens the help page at a help context; "Help file not found" when it
    // cannot.
    void OpenHelp(int context);
    // True when Netscape runs; it has then told the user to shut it down.
    bool NetscapeRunning();
    // What a job needs, with a window's progress sink (and the window's own
    // message boxes).
    Services ServicesFor(ProgressSink& progress);
    Services ServicesFor(ProgressSink& progress, Messages& boxes);
};

// Help contexts of the windows.
inline constexpr int kMainHelpContext = 1;
inline constexpr int kSelectionHelpContext = 5;
inline constexpr int kSearchHelpContext = 39;

}  // namespace restash
