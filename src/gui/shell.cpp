#include "gui/shell.h"

#include "core/app/browser_bridge.h"
#include "core/platform/time_locale.h"
#include "gui/gui_texts.h"

namespace restash {

void Shell::OpenHelp(int context) {
    if (!restash::OpenHelp(settings, launcher, context)) messages.ShowError(kHelpFileNotFound);
}

bool Shell::NetscapeRunning() { return IsNetscapeRunning(settings, processes, messages); }

Services Shell::ServicesFor(ProgressSink& progress) { return ServicesFor(progress, messages); }

Services Shell::ServicesFor(ProgressSink& progress, Messages& boxes) {
    return Services{RealFileSystem(), progress, boxes, clock, UserTimeLocale(), processes};
}

}  // namespace restash
