#include "core/cache/cache_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace restash {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

TEST(CacheFolder, FindsFilesWhateverTheCaseOfTheirNames) {
    TempDir dir;
    WriteBytes(dir / "m0a1b2c3.htm", "x");
    fs::create_directories(dir / "00");
    WriteBytes(dir / "00/cache33BAD64001B0829.html", "x");
    CacheFolder folder(dir.path());
    EXPECT_EQ(folder.Find("M0A1B2C3.HTM"), dir / "m0a1b2c3.htm");
    EXPECT_EQ(folder.Find("m0A1b2C3.htm"), dir / "m0a1b2c3.htm");
    EXPECT_EQ(folder.Find("00/CACHE33BAD64001B0829.HTML"), dir / "00/cache33BAD64001B0829.html");
    EXPECT_EQ(folder.Find("00\\cache33bad64001b0829.html"), dir / "00/cache33BAD64001B0829.html");
    EXPECT_EQ(folder.Find("./00//cache33bad64001b0829.html"), dir / "00/cache33BAD64001B0829.html");
    EXPECT_FALSE(folder.Exists("cache33BAD64001B0829.html"));  // not at the top
    EXPECT_FALSE(folder.Exists("00"));                        // folders are no cache files
    EXPECT_FALSE(folder.Exists("other.htm"));
}

TEST(CacheFolder, NamesThatLeaveTheFolderAreNeverFound) {
    TempDir outer;
    fs::create_directories(outer / "cache/sub");
    WriteBytes(outer / "secret.txt", "x");
    WriteBytes(outer / "cache/sub/a.htm", "x");
    CacheFolder folder(outer / "cache/");
    for (const char* name : {"../secret.txt", "..\\secret.txt", "sub/../../secret.txt", "sub/../sub/a.htm", "..",
                             "/etc/passwd", "\\etc\\passwd", "C:\\secret.txt", "C:secret.txt", "", "."}) {
        EXPECT_FALSE(folder.Exists(name)) << name;
        EXPECT_FALSE(IsSafeCacheName(name)) << name;
    }
    EXPECT_TRUE(IsSafeCacheName("sub/a.htm"));
    EXPECT_TRUE(IsSafeCacheName("a..b.htm"));  // dots inside a name are harmless
}

TEST(CacheFolder, FollowsOnlyLinksThatStayInside) {
    TempDir outer;
    fs::create_directories(outer / "cache");
    WriteBytes(outer / "secret.txt", "x");
    WriteBytes(outer / "cache/real.htm", "x");
    fs::create_symlink(outer / "secret.txt", outer / "cache/escape.htm");
    fs::create_symlink("real.htm", outer / "cache/alias.htm");
    fs::create_symlink(outer.path(), outer / "cache/loop");  // a folder link is not walked
    fs::create_symlink(outer / "nowhere", outer / "cache/dangling.htm");
    CacheFolder folder(outer / "cache/");
    EXPECT_FALSE(folder.Exists("escape.htm"));
    EXPECT_TRUE(folder.Exists("ALIAS.HTM"));
    EXPECT_FALSE(folder.Exists("loop/secret.txt"));
    EXPECT_FALSE(folder.Exists("dangling.htm"));
}

TEST(CacheFolder, NamesDifferingOnlyInCaseResolveToTheSortedFirst) {
    TempDir dir;
    // Created in an order that differs from the sorted one.
    WriteBytes(dir / "page.htm", "lower");
    WriteBytes(dir / "PAGE.htm", "upper");
    WriteBytes(dir / "Page.htm", "mixed");
    CacheFolder folder(dir.path());
    EXPECT_EQ(folder.Find("page.htm"), dir / "PAGE.htm");
    EXPECT_EQ(folder.Find("PAGE.HTM"), dir / "PAGE.htm");
}

TEST(CacheFolder, ListsTwoLevelsOfSubfoldersAndNoDeeper) {
    TempDir dir;
    fs::create_directories(dir / "a/b/c");
    WriteBytes(dir / "top.htm", "x");
    WriteBytes(dir / "a/one.htm", "x");
    WriteBytes(dir / "a/b/two.htm", "x");
    WriteBytes(dir / "a/b/c/three.htm", "x");
    CacheFolder folder(dir.path());
    EXPECT_TRUE(folder.Exists("TOP.HTM"));
    EXPECT_EQ(folder.Find("A/ONE.HTM"), dir / "a/one.htm");
    EXPECT_EQ(folder.Find("a\\B\\Two.htm"), dir / "a/b/two.htm");
    EXPECT_FALSE(folder.Exists("a/b/c/three.htm"));
}

TEST(CacheFolder, AMissingFolderHoldsNoFiles) {
    TempDir dir;
    CacheFolder folder(dir / "nope/");
    EXPECT_FALSE(folder.Exists("a.htm"));
}

}  // namespace
}  // namespace restash
