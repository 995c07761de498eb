#pragma once
// The only contact with the browser: whether Netscape runs (it must not
// while its files are read or changed), starting it on the offline index,
// and the help page.
#include <optional>
#include <string>

#include "core/app/process_table.h"
#include "core/app/program_launcher.h"
#include "core/app/settings.h"
#include "core/platform/messages.h"

namespace restash {

inline constexpr const char* kShutDownNetscape = "Please shut down Netscape\r\nbefore continuing.";
inline constexpr const char* kHelpFileName = "restash-help.html";

// What the check must know is whether a browser is writing the cache right
// now: the process other than Restash that has the cache index open, if any.
// The program's name alone does not count: a browser of that name working on
// another cache does not touch this one.
std::optional<pid_t> BrowserHoldingCache(const Settings& settings, ProcessTable& processes);
bool NetscapeRuns(const Settings& settings, ProcessTable& processes);

// The same, and then the warning has been shown and the caller does nothing more.
bool IsNetscapeRunning(const Settings& settings, ProcessTable& processes, Messages& messages);

// What a command that only reads the cache says instead of refusing.
std::string BrowserReadingText(const std::string& indexPath, pid_t holder);

// Starts the Netscape program NetscapeDir + NetscapeExe on file; the start
// result (32 and above: started). Whether the program exists is not checked.
int LaunchNetscape(const Settings& settings, ProgramLauncher& launcher, const std::string& file);

// Opens OfflineDir + "HTMINDEX.HTM" in Netscape; when that cannot be started,
// shows "Error N while loading Netscape." and the instructions.
void OpenIndexPage(const Settings& settings, ProgramLauncher& launcher, Messages& messages);

// How to open the index page by hand.
std::string IndexInstructionsText(const Settings& settings);
void ShowIndexInstructions(const Settings& settings, Messages& messages);

// The address of the offline root as the browser writes it in its history.
std::string OfflineURL(const Settings& settings);

// A file:// address of an absolute path, with the bytes that would end or
// change the path part of an address written as %XX.
std::string FileURL(const std::string& absolutePath);

// Opens the help page at the topic of a help context in the configured
// browser program, else in the desktop's browser. False when the page is
// missing or no browser could be started (the caller shows "Help file not found").
bool OpenHelp(const Settings& settings, ProgramLauncher& launcher, int context);

}  // namespace restash
