#include "core/platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"
#include "tests/support/temp_dir.h"

namespace restash {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(ReplaceFile, WritesTheNewFileAndLeavesNoTemporary) {
    TempDir dir;
    WriteBytes(dir / "a.txt", "old");
    ReplaceFile(RealFileSystem(), dir / "a.txt", [](OutputFile& out) { out.Write("new\r\n"); });
    EXPECT_EQ(ReadBytes(dir / "a.txt"), "new\r\n");
    EXPECT_FALSE(test::FileExists(TemporaryNameFor(dir / "a.txt")));
}

TEST(ReplaceFile, AFailureWhileWritingKeepsTheOldFile) {
    TempDir dir;
    WriteBytes(dir / "a.txt", "old");
    EXPECT_THROW(ReplaceFile(RealFileSystem(), dir / "a.txt",
                             [](OutputFile& out) {
                                 out.Write("half");
                                 throw FileError(out.Path(), "Disk full");
                             }),
                 FileError);
    EXPECT_EQ(ReadBytes(dir / "a.txt"), "old");
    EXPECT_FALSE(test::FileExists(TemporaryNameFor(dir / "a.txt")));
}

TEST(FileSystem, ErrorsNameTheFile) {
    TempDir dir;
    try {
        RealFileSystem().CopyFile(dir / "missing", dir / "b");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / "missing");
        EXPECT_EQ(e.problem(), "File not found");
    }
}

TEST(FileSystem, CopiesLargeFilesByteForByte) {
    TempDir dir;
    std::string big;
    for (int i = 0; i < 300000; ++i) big += static_cast<char>(i * 7 % 256);
    WriteBytes(dir / "src", big);
    RealFileSystem().CopyFile(dir / "src", dir / "dst");
    EXPECT_EQ(ReadBytes(dir / "dst"), big);
}

TEST(Paths, SplitsAtTheLastSeparatorOfItsStyle) {
    EXPECT_EQ(DirPart("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(FilePart("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(FilePart("/a/b/"), "");
    EXPECT_EQ(DirPart("FAT.DB"), "");
    EXPECT_EQ(DirPart("C:FAT.DB", PathStyle::Windows), "C:");
    EXPECT_EQ(FilePart("C:\\NS\\CACHE\\FAT.DB", PathStyle::Windows), "FAT.DB");
    EXPECT_EQ(DirPart("C:\\NS\\CACHE\\FAT.DB", PathStyle::Windows), "C:\\NS\\CACHE\\");
}

TEST(Text, ComparesLettersWithoutCaseAndOtherBytesByValue) {
    EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
    EXPECT_LT(CompareNoCase("a", "B"), 0);
    EXPECT_GT(CompareNoCase("_", "a"), 0);  // letters fold to upper case: "_" (95) after "A" (65)
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_GT(CompareNoCase("\xe9", "z"), 0);
}

}  // namespace
}  // namespace restash
