#include "core/app/settings.h"

#include "core/app/ini_file.h"
#include "core/app/user_dirs.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {

SettingsDefaults DefaultSettingsValues(const std::string& programDir) {
    // The Netscape for Unix places: its cache index and history file in the
    // user's home. The program default opens the index in the desktop's
    // browser; a user with a real Netscape sets its path in Setup.
    const std::string home = HomeDir();
    SettingsDefaults d;
    d.netspath = "/usr/bin/xdg-open";
    d.offlinedir = WithTrailingSeparator(programDir);
    d.cachedir = home + "/.netscape/cache/index.db";
    d.histpath = home + "/.netscape-history";
    // The Setup dialog's file filters.
    d.fatname = "FAT";
    d.exename = "netscape";
    d.hstname = "*history*";
    return d;
}

void UseCacheFolder(Settings& settings, const std::string& folder) {
    settings.CacheDir = WithTrailingSeparator(folder);
    settings.FatName.clear();
}

Settings LoadSettings(const std::string& programDir) {
    Settings s;
    s.ProgramDir = WithTrailingSeparator(programDir);
    const SettingsDefaults d = DefaultSettingsValues(s.ProgramDir);
    const IniFile file(s.SettingsFilePath());

    // The program's name is kept whole: browsers on Linux have longer names
    // (sensible-browser, chromium-browser) than an 8.3 name holds.
    const std::string netspath = file.ReadString("paths", "netspath", d.netspath);
    s.NetscapeExe = FilePart(netspath);
    s.NetscapeDir = DirPart(netspath);

    s.OfflineDir = file.ReadString("paths", "offlinedir", d.offlinedir) + kOfflineFolder;

    const std::string cachedir = file.ReadString("paths", "cachedir", d.cachedir);
    s.FatName = Cut(FilePart(cachedir), kShortNameLength);
    if (s.FatName.empty()) s.FatName = Cut(file.ReadString("config", "fatname", d.fatname), kShortNameLength);
    s.CacheDir = DirPart(cachedir);
    // A cache named by its folder (the later browsers' caches have no index
    // file to name) stays that folder, unless it holds the index file the
    // folder alone stood for.
    if (IsDirectory(cachedir) && !(FilePart(cachedir).empty() && IsFile(s.CacheDir + s.FatName)))
        UseCacheFolder(s, cachedir);

    s.HistPath = file.ReadString("paths", "histpath", d.histpath);

    s.ExeName = Cut(file.ReadString("config", "exename", d.exename), kShortNameLength);
    s.HstName = Cut(file.ReadString("config", "hstname", d.hstname), kShortNameLength);

    s.GMT = file.ReadInteger("preferences", "GMT", 0);
    s.NotFoundURL = file.ReadBool("preferences", "NotFoundURL", false);
    s.Tag = file.ReadString("preferences", "tag", "BLINK");
    s.EmphTag = file.ReadBool("preferences", "emphtag", true);
    return s;
}

}  // namespace restash
