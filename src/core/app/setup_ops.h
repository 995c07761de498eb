#pragma once
// What the Setup and Preferences dialogs do, without their widgets: the
// texts they show, what OK stores in Settings and the settings file, and the
// rules of the GMT spin field. The windows only bind these to their fields.
#include <string>
#include <string_view>

#include "core/app/ini_file.h"
#include "core/app/settings.h"

namespace restash {

inline constexpr int kSetupHelpContext = 12;
inline constexpr int kPreferencesHelpContext = 38;

// The four paths the Setup dialog edits.
struct SetupFields {
    std::string cacheIndex;      // the cache index file, or the cache (or profile) folder
    std::string browserProgram;  // the Netscape program file
    std::string historyFile;     // the history file
    std::string offlineFolder;   // the folder that holds the offline root
};

// The fields as the dialog shows them, refilled from Settings at every showing.
SetupFields ShowSetup(const Settings& settings);

// Setup OK: updates Settings and writes paths/cachedir, histpath, netspath
// and offlinedir in that order. A failed write throws Error ("Unable to
// write to ...") at that key; keys and fields handled before it keep their
// new values. No path is checked for existence; a cache path that names a
// folder on disk is kept whole as the cache folder.
void ApplySetup(Settings& settings, const SetupFields& fields, IniFile& file);

// The preferences the Preferences dialog edits.
struct PreferencesFields {
    int gmtHours = 0;
    bool keepAddresses = false;
    bool emphasise = true;
};

PreferencesFields ShowPreferences(const Settings& settings);

// Preferences OK: updates Settings and writes preferences/GMT,
// preferences/NotFoundURL and preferences/EmphTag in that order.
void ApplyPreferences(Settings& settings, const PreferencesFields& fields, IniFile& file);

// The spin field's range.
inline constexpr int kMinGmt = -24;
inline constexpr int kMaxGmt = 24;

// The value of the spin field's text: a whole number, else the lowest value.
int ParseSpinValue(std::string_view text);
// A value outside the range becomes the nearer bound.
int ClampGmt(int value);
// Whether the spin field takes a typed character: digits, signs, the decimal
// separator and control characters other than Enter.
bool SpinAcceptsKey(char key, char decimalSeparator = '.');

}  // namespace restash
