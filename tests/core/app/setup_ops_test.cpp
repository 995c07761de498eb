#include "core/app/setup_ops.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/error.h"
#include "tests/core/app/scoped_env.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using test::ReadBytes;
using test::ScopedEnv;
using test::TempDir;
using test::WriteBytes;

TEST(Setup, OkWithoutChangesCreatesTheFileWithTheValuesShown) {
    TempDir dir;
    ScopedEnv home("HOME", "/home/ann");
    Settings settings = LoadSettings(dir.path());
    const SetupFields shown = ShowSetup(settings);
    EXPECT_EQ(shown.cacheIndex, "/home/ann/.netscape/cache/index.db");
    EXPECT_EQ(shown.browserProgram, "/usr/bin/xdg-open");
    EXPECT_EQ(shown.historyFile, "/home/ann/.netscape-history");
    EXPECT_EQ(shown.offlineFolder, dir.path());

    IniFile file(settings.SettingsFilePath());
    ApplySetup(settings, shown, file);
    EXPECT_EQ(ReadBytes(dir / "RESTASH.INI"),
              "[paths]\ncachedir=/home/ann/.netscape/cache/index.db\nhistpath=/home/ann/.netscape-history\n"
              "netspath=/usr/bin/xdg-open\nofflinedir=" + dir.path() + "\n");
    const Settings reloaded = LoadSettings(dir.path());
    EXPECT_EQ(reloaded.OfflineDir, settings.OfflineDir);
    EXPECT_EQ(reloaded.CacheIndexPath(), settings.CacheIndexPath());
    EXPECT_EQ(reloaded.NetscapeProgramPath(), settings.NetscapeProgramPath());
}

TEST(Setup, OkSplitsAndCompletesThePaths) {
    TempDir dir;
    Settings settings = LoadSettings(dir.path());
    IniFile file(settings.SettingsFilePath());
    ApplySetup(settings, {"/mnt/ns/cache/", "/opt/ns/NETSCAPE32.EXE", "/mnt/ns/netscape.hst", "/data/web"}, file);
    // A cache folder alone leaves the index name empty until the next start.
    EXPECT_EQ(settings.CacheDir, "/mnt/ns/cache/");
    EXPECT_EQ(settings.FatName, "");
    EXPECT_EQ(settings.NetscapeDir, "/opt/ns/");
    EXPECT_EQ(settings.NetscapeExe, "NETSCAPE32.EXE");  // whole, so the program can be started
    EXPECT_EQ(settings.HistPath, "/mnt/ns/netscape.hst");
    // A folder typed without its closing "/" gets one.
    EXPECT_EQ(settings.OfflineDir, "/data/web/OFFLINE/");
    EXPECT_EQ(ShowSetup(settings).offlineFolder, "/data/web/");

    const Settings next = LoadSettings(dir.path());
    EXPECT_EQ(next.FatName, "FAT");
    EXPECT_EQ(next.NetscapeProgramPath(), "/opt/ns/NETSCAPE32.EXE");
    EXPECT_EQ(next.OfflineDir, "/data/web/OFFLINE/");

    ApplySetup(settings, {"index.db", "netscape", "h", ""}, file);
    EXPECT_EQ(settings.CacheDir, "");
    EXPECT_EQ(settings.FatName, "index.db");
    EXPECT_EQ(settings.NetscapeDir, "");
    EXPECT_EQ(settings.OfflineDir, "OFFLINE/");
}

TEST(Setup, ACacheFolderOnDiskIsTheCache) {
    TempDir dir;
    std::filesystem::create_directories(dir / "profile/Cache");
    Settings settings = LoadSettings(dir.path());
    IniFile file(settings.SettingsFilePath());
    ApplySetup(settings, {dir / "profile", "netscape", "h", ""}, file);
    EXPECT_EQ(settings.CacheIndexPath(), dir / "profile/");
    EXPECT_EQ(LoadSettings(dir.path()).CacheIndexPath(), dir / "profile/");
}

TEST(Setup, AFailedWriteStopsAtThatKeyAndKeepsWhatWasDone) {
    TempDir dir;
    Settings settings = LoadSettings(dir.path());
    const std::string oldOffline = settings.OfflineDir;
    test::FaultyFileSystem fs;
    fs.renamesBeforeFailure = 1;
    IniFile file(settings.SettingsFilePath(), fs);
    try {
        ApplySetup(settings, {"/c/FAT.DB", "/n/netscape", "/h/hist", "/o/"}, file);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir / "RESTASH.INI");
    }
    EXPECT_EQ(ReadBytes(dir / "RESTASH.INI"), "[paths]\ncachedir=/c/FAT.DB\n");
    EXPECT_EQ(settings.CacheIndexPath(), "/c/FAT.DB");
    EXPECT_EQ(settings.NetscapeProgramPath(), "/n/netscape");
    EXPECT_EQ(settings.HistPath, "/h/hist");
    EXPECT_EQ(settings.OfflineDir, oldOffline);
}

TEST(Preferences, ShowAndOkKeepTheFieldInRange) {
    TempDir dir;
    WriteBytes(dir / "RESTASH.INI", "[preferences]\r\nGMT=30\r\nemphtag=1\r\n");
    Settings settings = LoadSettings(dir.path());
    const PreferencesFields shown = ShowPreferences(settings);
    EXPECT_EQ(shown.gmtHours, 24);
    EXPECT_FALSE(shown.keepAddresses);
    EXPECT_TRUE(shown.emphasise);

    IniFile file(settings.SettingsFilePath());
    ApplyPreferences(settings, {shown.gmtHours, true, false}, file);
    EXPECT_EQ(ReadBytes(dir / "RESTASH.INI"), "[preferences]\r\nGMT=24\r\nemphtag=0\r\nNotFoundURL=1\r\n");
    EXPECT_EQ(settings.GMT, 24);
    EXPECT_TRUE(settings.NotFoundURL);
    EXPECT_FALSE(settings.EmphTag);

    // A value typed out of range and confirmed with Enter is taken as typed.
    ApplyPreferences(settings, {ParseSpinValue("99"), true, false}, file);
    EXPECT_EQ(LoadSettings(dir.path()).GMT, 99);
    // An empty field or a fraction stores the lowest value.
    ApplyPreferences(settings, {ParseSpinValue(""), true, false}, file);
    EXPECT_EQ(LoadSettings(dir.path()).GMT, -24);
    ApplyPreferences(settings, {ParseSpinValue("1.5"), true, false}, file);
    EXPECT_EQ(LoadSettings(dir.path()).GMT, -24);
}

TEST(Preferences, AFreshFileGetsTheKeysInOrder) {
    TempDir dir;
    Settings settings = LoadSettings(dir.path());
    IniFile file(settings.SettingsFilePath());
    ApplyPreferences(settings, {-5, false, true}, file);
    EXPECT_EQ(ReadBytes(dir / "RESTASH.INI"), "[preferences]\nGMT=-5\nNotFoundURL=0\nEmphTag=1\n");
}

TEST(SpinField, ParsesClampsAndFiltersKeys) {
    EXPECT_EQ(ParseSpinValue("-7"), -7);
    EXPECT_EQ(ParseSpinValue("+3"), 3);
    EXPECT_EQ(ParseSpinValue("-"), -24);
    EXPECT_EQ(ParseSpinValue("12a"), -24);
    EXPECT_EQ(ParseSpinValue("99999999999"), -24);
    EXPECT_EQ(ClampGmt(-25), -24);
    EXPECT_EQ(ClampGmt(-24), -24);
    EXPECT_EQ(ClampGmt(24), 24);
    EXPECT_EQ(ClampGmt(25), 24);
    for (char c : std::string("0123456789+-.\b\t\x1b")) EXPECT_TRUE(SpinAcceptsKey(c)) << int(c);
    for (char c : std::string("\r ax,")) EXPECT_FALSE(SpinAcceptsKey(c)) << int(c);
    EXPECT_TRUE(SpinAcceptsKey(',', ','));
    EXPECT_FALSE(SpinAcceptsKey('.', ','));
}

}  // namespace
}  // namespace restash
