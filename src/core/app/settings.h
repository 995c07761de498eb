#pragma once
// The Settings record: where the Netscape program, its cache index and its
// history file are, where the offline copy is built, and the user's
// preferences. Filled once by LoadSettings from RESTASH.INI in ProgramDir.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/offline/offline_names.h"

namespace restash {

// The name of the settings file in ProgramDir.
inline constexpr const char* kSettingsFileName = "RESTASH.INI";

struct Settings {
    std::string ProgramDir;   // the program's home folder, ending in "/"
    std::string NetscapeDir;  // directory part of paths/netspath
    std::string NetscapeExe;  // file part of paths/netspath, whole
    std::string CacheDir;     // directory part of paths/cachedir: the cache folder
    std::string FatName;      // file part of paths/cachedir, else config/fatname; at most 12
    std::string HistPath;     // paths/histpath
    std::string OfflineDir;   // paths/offlinedir + "OFFLINE/": the offline root
    std::string ExeName;      // config/exename, at most 12
    std::string HstName;      // config/hstname, at most 12
    std::int32_t GMT = 0;     // preferences/GMT, whole hours
    bool NotFoundURL = false; // preferences/NotFoundURL
    std::string Tag = "BLINK";// preferences/tag
    bool EmphTag = true;      // preferences/emphtag

    // Derived paths, formed by plain concatenation.
    std::string CacheIndexPath() const { return CacheDir + FatName; }
    std::string NetscapeProgramPath() const { return NetscapeDir + NetscapeExe; }
    std::string IndexPagePath() const { return OfflineDir + kIndexPage; }
    std::string PageListPath() const { return OfflineDir + kPageList; }
    std::string SettingsFilePath() const { return ProgramDir + kSettingsFileName; }
};


// The 8.3 file names (FatName, ExeName, HstName) keep at most this many
// characters; the program's name is kept whole.
inline constexpr std::size_t kShortNameLength = 12;

// The values a key takes when the settings file does not hold it.
struct SettingsDefaults {
    std::string netspath, offlinedir, cachedir, histpath;
    std::string fatname, exename, hstname;
};
SettingsDefaults DefaultSettingsValues(const std::string& programDir);

// Fills every field from programDir + "RESTASH.INI" (defaults where the file,
// section or key is missing). Writes nothing; the cache path is looked at on
// disk only to tell a cache folder from an index file.
Settings LoadSettings(const std::string& programDir);

// The cache is the one in folder (or a profile folder): CacheDir is the
// folder, ending in "/", and FatName is empty.
void UseCacheFolder(Settings& settings, const std::string& folder);

}  // namespace restash
