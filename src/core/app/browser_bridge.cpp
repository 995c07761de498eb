#include "core/app/browser_bridge.h"

#include <filesystem>

#include "core/app/program_dir.h"
#include "core/app/rsh_mime_type.h"

namespace restash {

std::optional<pid_t> BrowserHoldingCache(const Settings& settings, ProcessTable& processes) {
    return processes.HolderOf(settings.CacheIndexPath());
}

bool NetscapeRuns(const Settings& settings, ProcessTable& processes) {
    return BrowserHoldingCache(settings, processes).has_value();
}

std::string BrowserReadingText(const std::string& indexPath, pid_t holder) {
    return indexPath + " is open in another program (process " + std::to_string(holder) +
           "): a browser may change the cache while it is read";
}

bool IsNetscapeRunning(const Settings& settings, ProcessTable& processes, Messages& messages) {
    if (!NetscapeRuns(settings, processes)) return false;
    messages.Warning(kShutDownNetscape);
    return true;
}

int LaunchNetscape(const Settings& settings, ProgramLauncher& launcher, const std::string& file) {
    return launcher.Launch(settings.NetscapeProgramPath(), file);
}

void OpenIndexPage(const Settings& settings, ProgramLauncher& launcher, Messages& messages) {
    // The index links to the search results page RESULTS.RSH.
    RegisterRshType();
    const int result = LaunchNetscape(settings, launcher, settings.IndexPagePath());
    if (LaunchSucceeded(result)) return;
    messages.ShowError("Error " + std::to_string(result) + " while loading Netscape.");
    ShowIndexInstructions(settings, messages);
}

std::string IndexInstructionsText(const Settings& settings) {
    // Kept whole: a path cut short would tell the user to open a file that
    // is not there.
    return "To view the Restash index in Netscape:\r\n\r\n"
           "1. Select 'Open File...' from the Netscape 'File' menu\r\n"
           "2. Select the file: \r\n\r\n      " +
           settings.IndexPagePath();
}

void ShowIndexInstructions(const Settings& settings, Messages& messages) {
    messages.Information(IndexInstructionsText(settings));
}

std::string OfflineURL(const Settings& settings) { return "file://" + settings.OfflineDir; }

std::string FileURL(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

bool OpenHelp(const Settings& settings, ProgramLauncher& launcher, int context) {
    const std::string page = FindSupportFile(settings.ProgramDir, kHelpFileName);
    if (page.empty()) return false;
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(page, ec);
    const std::string url = FileURL(ec ? page : absolute.string()) + "#context-" + std::to_string(context);
    if (LaunchSucceeded(launcher.Launch(settings.NetscapeProgramPath(), url))) return true;
    return LaunchSucceeded(launcher.Launch("xdg-open", url));
}

}  // namespace restash
