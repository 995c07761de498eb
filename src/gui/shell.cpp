#include "gui/shell.h"

#include "core/app/browser_bridge.h"

namespace restash {

void Shell::OpenHelp(int context) {
    if (!restash::OpenHelp(settings, launcher, context)) messages.ShowError("Help file not found");
}

bool Shell::NetscapeRunning() { return IsNetscapeRunning(settings, processes, messages); }

}  // namespace restash
