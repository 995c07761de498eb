#include "core/offline/offline_build.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/platform/error.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using test::FileExists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

namespace fs = std::filesystem;

struct OfflineFolders {
    TempDir dir;
    std::string root = dir / "OFFLINE/";
    std::string building = dir / "OFFLINE.restash-new/";
    std::string aside = dir / "OFFLINE.restash-old/";

    // A copy in folder: a page, a picture and a folder the user made.
    void Copy(const std::string& folder, const std::string& mark) {
        fs::create_directories(folder + "MEDIA");
        WriteBytes(folder + "HTMINDEX.HTM", mark);
        WriteBytes(folder + "MEDIA/PIC.GIF", mark);
    }
};

// What a killed run leaves at each of its moments is cleared by the next
// start: the copy the user had is always the one that stays.
TEST(RecoverOffline, WhatAKilledRunLeftIsClearedAndTheUsersCopyStays) {
    struct Case {
        const char* moment;
        std::function<void(OfflineFolders&)> leave;
        const char* kept;  // the root's page afterwards ("" for no copy)
    };
    const std::vector<Case> cases{
        {"while building", [](OfflineFolders& f) {
             f.Copy(f.root, "old");
             f.Copy(f.building, "half");
         }, "old"},
        {"old copy moved aside, new not yet in", [](OfflineFolders& f) {
             f.Copy(f.aside, "old");
             f.Copy(f.building, "new");
         },
         "old"},
        {"new copy in, old not yet removed", [](OfflineFolders& f) {
             f.Copy(f.root, "new");
             f.Copy(f.aside, "old");
         }, "new"},
        {"first run, while building", [](OfflineFolders& f) { f.Copy(f.building, "half"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moment);
        OfflineFolders f;
        c.leave(f);
        RecoverOffline(RealFileSystem(), f.root);
        EXPECT_EQ(FileExists(f.root + "HTMINDEX.HTM") ? ReadBytes(f.root + "HTMINDEX.HTM") : "", c.kept);
        EXPECT_FALSE(fs::exists(f.building));
        EXPECT_FALSE(fs::exists(f.aside));
    }
}

// The swap: the new copy replaces the old whole (nothing of the old one's
// files stays), the user's own folders move along, and a failed swap puts
// the old copy back.
TEST(OfflineBuild, CommitReplacesTheCopyWholeAndAFailedSwapPutsTheOldOneBack) {
    OfflineFolders f;
    f.Copy(f.root, "old");
    WriteBytes(f.root + "OLD.HTM", "old page");
    fs::create_directories(f.root + "NOTES");
    WriteBytes(f.root + "NOTES/mine.txt", "the user's");
    {
        OfflineBuild build(RealFileSystem(), f.root);
        f.Copy(build.Start(), "new");
        build.Commit();
    }
    EXPECT_EQ(ReadBytes(f.root + "HTMINDEX.HTM"), "new");
    EXPECT_FALSE(FileExists(f.root + "OLD.HTM"));
    EXPECT_EQ(ReadBytes(f.root + "NOTES/mine.txt"), "the user's");
    EXPECT_FALSE(fs::exists(f.aside));

    test::FaultyFileSystem faulty;
    faulty.failRenameFrom = f.dir / "OFFLINE.restash-new";  // the new copy cannot take the root's place
    {
        OfflineBuild build(faulty, f.root);
        f.Copy(build.Start(), "newer");
        EXPECT_THROW(build.Commit(), FileError);
    }
    EXPECT_EQ(ReadBytes(f.root + "HTMINDEX.HTM"), "new");
    EXPECT_FALSE(fs::exists(f.building));

    // A build never committed goes when it is dropped.
    {
        OfflineBuild build(RealFileSystem(), f.root);
        f.Copy(build.Start(), "stopped");
    }
    EXPECT_EQ(ReadBytes(f.root + "HTMINDEX.HTM"), "new");
    EXPECT_FALSE(fs::exists(f.building));
}

}  // namespace
}  // namespace restash
