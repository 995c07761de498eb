#include "core/app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/program_dir.h"
#include "tests/core/app/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using test::ScopedEnv;
using test::TempDir;
using test::WriteBytes;

TEST(LoadSettings, WithoutASettingsFileEveryDefaultApplies) {
    TempDir dir;
    ScopedEnv home("HOME", "/home/ann");
    const Settings s = LoadSettings(dir.path());
    EXPECT_EQ(s.ProgramDir, dir.path());
    EXPECT_EQ(s.NetscapeDir, "/usr/bin/");
    EXPECT_EQ(s.NetscapeExe, "xdg-open");
    EXPECT_EQ(s.OfflineDir, dir.path() + "OFFLINE/");
    EXPECT_EQ(s.CacheDir, "/home/ann/.netscape/cache/");
    EXPECT_EQ(s.FatName, "index.db");
    EXPECT_EQ(s.HistPath, "/home/ann/.netscape-history");
    EXPECT_EQ(s.ExeName, "netscape");
    EXPECT_EQ(s.HstName, "*history*");
    EXPECT_EQ(s.GMT, 0);
    EXPECT_FALSE(s.NotFoundURL);
    EXPECT_EQ(s.Tag, "BLINK");
    EXPECT_TRUE(s.EmphTag);
    // The program folder without its trailing separator means the same folder.
    std::string bare = dir.path();
    bare.pop_back();
    EXPECT_EQ(LoadSettings(bare).SettingsFilePath(), dir / "RESTASH.INI");
}

TEST(LoadSettings, AFolderInTheSettingsFilesPlaceGivesTheDefaults) {
    TempDir dir;
    std::filesystem::create_directory(dir / "RESTASH.INI");
    const Settings s = LoadSettings(dir.path());
    EXPECT_EQ(s.Tag, "BLINK");
    EXPECT_TRUE(s.EmphTag);
    EXPECT_EQ(s.OfflineDir, dir.path() + "OFFLINE/");
}

TEST(LoadSettings, SplitsThePathsAndCutsTheShortNames) {
    TempDir dir;
    WriteBytes(dir / "RESTASH.INI",
               "[PATHS]\r\nNETSPATH=/opt/ns/NETSCAPE32.EXE\r\nofflinedir=\r\ncachedir=/mnt/ns/cache/\r\n"
               "histpath=/mnt/ns/" + std::string(300, 'h') + "\r\n[config]\r\nfatname=FATFILE-NAME.DB\r\n"
               "exename=NETSCAPE-GOLD.EXE\r\nhstname=h.hst\r\n");
    const Settings s = LoadSettings(dir.path());
    EXPECT_EQ(s.NetscapeDir, "/opt/ns/");
    EXPECT_EQ(s.NetscapeExe, "NETSCAPE32.EXE");  // a program's name is never cut
    EXPECT_EQ(s.OfflineDir, "OFFLINE/");  // relative to the current folder
    EXPECT_EQ(s.CacheDir, "/mnt/ns/cache/");
    EXPECT_EQ(s.FatName, "FATFILE-NAME");  // from config/fatname, cut to 12
    EXPECT_EQ(s.HistPath, "/mnt/ns/" + std::string(300, 'h'));  // paths are never cut
    EXPECT_EQ(s.ExeName, "NETSCAPE-GOL");
    EXPECT_EQ(s.HstName, "h.hst");
}

TEST(LoadSettings, LinuxBrowserNamesStayWhole) {
    TempDir dir;
    for (const std::string program : {"/usr/bin/sensible-browser", "/usr/bin/chromium-browser",
                                      "/usr/bin/google-chrome-stable", "/usr/bin/x-www-browser"}) {
        WriteBytes(dir / "RESTASH.INI", "[paths]\r\nnetspath=" + program + "\r\n");
        EXPECT_EQ(LoadSettings(dir.path()).NetscapeProgramPath(), program);
    }
}

TEST(LoadSettings, ACacheDirectoryAloneTakesTheDefaultIndexName) {
    TempDir dir;
    WriteBytes(dir / "RESTASH.INI", "[paths]\ncachedir=/d/ns/cache/\n");
    EXPECT_EQ(LoadSettings(dir.path()).CacheIndexPath(), "/d/ns/cache/FAT");
    WriteBytes(dir / "RESTASH.INI", "[paths]\ncachedir=FAT.DB\n");
    const Settings bare = LoadSettings(dir.path());
    EXPECT_EQ(bare.CacheDir, "");
    EXPECT_EQ(bare.FatName, "FAT.DB");
}

// A cache named by a folder on disk (the later browsers' caches have no index
// file to name) is that folder, unless the folder holds the index file it
// stood for in Netscape's settings; a folder that is not there is read as
// before.
TEST(LoadSettings, ACacheFolderOnDiskIsKeptWhole) {
    TempDir dir;
    std::filesystem::create_directories(dir / "profile/cache2/entries");
    WriteBytes(dir / "ns/FAT", "MCOM-Cache-file-allocation-table-format-1\n");
    const std::pair<std::string, std::string> cases[] = {
        {dir / "profile", dir / "profile/"},
        {dir / "profile/", dir / "profile/"},
        {dir / "ns/", dir / "ns/FAT"},
        {dir / "ns", dir / "ns/"},
        {"/nowhere/cache/", "/nowhere/cache/FAT"},
    };
    for (const auto& [cachedir, index] : cases) {
        WriteBytes(dir / "RESTASH.INI", "[paths]\ncachedir=" + cachedir + "\n");
        EXPECT_EQ(LoadSettings(dir.path()).CacheIndexPath(), index) << cachedir;
    }
}

TEST(LoadSettings, Preferences) {
    TempDir dir;
    WriteBytes(dir / "RESTASH.INI", "[preferences]\nGMT=0x10\nNotFoundURL=true\ntag=" + std::string(300, 'B') + "\n");
    Settings s = LoadSettings(dir.path());
    EXPECT_EQ(s.GMT, 16);
    EXPECT_FALSE(s.NotFoundURL);            // a word is no number: the default
    EXPECT_EQ(s.Tag, std::string(300, 'B'));  // never cut: a cut tag breaks every page
    EXPECT_TRUE(s.EmphTag);

    WriteBytes(dir / "RESTASH.INI", "[preferences]\nGMT=word\nNotFoundURL=2\nEmphTag=0\n");
    s = LoadSettings(dir.path());
    EXPECT_EQ(s.GMT, 0);
    EXPECT_TRUE(s.NotFoundURL);
    EXPECT_FALSE(s.EmphTag);
}

TEST(ProgramDir, ChoosesInOrder) {
    TempDir dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", dir / "cfg");
    {
        ScopedEnv home("RESTASH_HOME", dir / "home");
        EXPECT_EQ(ResolveProgramDir(dir / "explicit", dir.path()), dir / "explicit/");
        EXPECT_EQ(ResolveProgramDir(std::nullopt, dir.path()), dir / "home/");
        EXPECT_EQ(FindProgramDir(), dir / "home/");
    }
    ScopedEnv noHome("RESTASH_HOME", std::nullopt);
    EXPECT_EQ(ResolveProgramDir(std::nullopt, dir.path()), dir.path());
    // An executable's folder that cannot be written to (here: missing).
    EXPECT_EQ(ResolveProgramDir(std::nullopt, dir / "gone/"), dir / "cfg/restash/");
    {
        ScopedEnv relative("XDG_CONFIG_HOME", "cfg");
        ScopedEnv userHome("HOME", dir / "user");
        EXPECT_EQ(ResolveProgramDir(std::nullopt, dir / "gone/"), dir / "user/.config/restash/");
    }
}

TEST(ProgramDir, SupportFilesComeFromProgramDirFirst) {
    TempDir dir;
    WriteBytes(dir / "NOTFOUND.GIF", "gif");
    EXPECT_EQ(FindSupportFile(dir.path(), "NOTFOUND.GIF"), dir / "NOTFOUND.GIF");
    EXPECT_EQ(FindSupportFile(dir.path(), "no-such-support-file.bin"), "");
    EnsureProgramDir(dir / "a/b/");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b"));
}

}  // namespace
}  // namespace restash
