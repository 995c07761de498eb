#include "core/offline/history.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
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

std::vector<std::string> Records(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::string> records;
    for (std::string r = ReadHistoryRecord(in); !r.empty(); r = ReadHistoryRecord(in)) records.push_back(r);
    EXPECT_EQ(ReadHistoryRecord(in), "") << "the end keeps giving empty records";
    return records;
}

TEST(ReadHistoryRecord, SplitsAtAnyRunOfLineEnds) {
    const std::vector<std::string> expected{"http://a/\t1", "http://b/\t2"};
    EXPECT_EQ(Records("http://a/\t1\r\nhttp://b/\t2\r\n"), expected);
    EXPECT_EQ(Records("http://a/\t1\r\r\nhttp://b/\t2\r\r\n"), expected);
    EXPECT_EQ(Records("\n\r\nhttp://a/\t1\n\n\n\rhttp://b/\t2"), expected);
    EXPECT_EQ(Records("x"), std::vector<std::string>{"x"});
    EXPECT_TRUE(Records("").empty());
    EXPECT_TRUE(Records("\r\n\r\r\n").empty());
}

struct HistoryRun : ::testing::Test {
    TempDir dir;
    std::string histPath = dir / "netscape.hst";
    // The new history is written beside the old one, so one rename puts it in place.
    std::string newPath = histPath + ".restash-new";
    test::FaultyFileSystem fs;

    std::unique_ptr<HistoryFile> Copy() { return CopyHistory(fs, histPath); }
};

TEST_F(HistoryRun, CopyDropsLocalAndBlankRecordsAndEndsEachWithCrCrLf) {
    WriteBytes(histPath,
               "http://a.example/\t100\r\n"
               "\r\n"
               "file:///C|/NET/OFFLINE/OLD.HTM\t50\r\n"
               "FILE:///home/u/x.htm\t51\n"
               "File:x\r"
               "http://b.example/p?q=1\t200");
    auto out = Copy();
    EXPECT_TRUE(out->Complete());
    EXPECT_EQ(out->Path(), newPath);
    // Flushed record by record: the file holds them while it is still open.
    EXPECT_EQ(ReadBytes(newPath), "http://a.example/\t100\r\r\nhttp://b.example/p?q=1\t200\r\r\n");
    out->Add("file:///home/u/OFFLINE/PAGE.HTM\t999");
    EXPECT_TRUE(ReplaceHistory(fs, *out, histPath));
    EXPECT_EQ(ReadBytes(histPath),
              "http://a.example/\t100\r\r\nhttp://b.example/p?q=1\t200\r\r\n"
              "file:///home/u/OFFLINE/PAGE.HTM\t999\r\r\n");
    EXPECT_FALSE(FileExists(newPath));
}

TEST_F(HistoryRun, ASecondRunReplacesTheFirstRunsOfflineRecords) {
    WriteBytes(histPath, "http://a/\t1\r\n");
    auto first = Copy();
    first->Add("file:///o/PAGE.HTM\t10");
    ASSERT_TRUE(ReplaceHistory(fs, *first, histPath));
    auto second = Copy();
    second->Add("file:///o/OTHER.HTM\t20");
    ASSERT_TRUE(ReplaceHistory(fs, *second, histPath));
    EXPECT_EQ(ReadBytes(histPath), "http://a/\t1\r\r\nfile:///o/OTHER.HTM\t20\r\r\n");
}

TEST_F(HistoryRun, ARunStoppedAfterTheCopyStillReplacesTheHistory) {
    WriteBytes(histPath, "http://a/\t1\r\nfile:///o/OLD.HTM\t5\r\n");
    auto out = Copy();
    EXPECT_TRUE(ReplaceHistory(fs, *out, histPath));
    EXPECT_EQ(ReadBytes(histPath), "http://a/\t1\r\r\n");
}

TEST_F(HistoryRun, ANewHistoryWhoseCopyDidNotFinishNeverReplacesTheOld) {
    const std::string old = "http://a/\t1\r\nhttp://b/\t2\r\nhttp://c/\t3\r\n";
    WriteBytes(histPath, old);
    auto out = std::make_unique<HistoryFile>(fs, newPath);
    out->Add("http://a/\t1");
    EXPECT_FALSE(out->Complete());
    EXPECT_FALSE(ReplaceHistory(fs, *out, histPath));
    EXPECT_EQ(ReadBytes(histPath), old);
    EXPECT_FALSE(FileExists(newPath));
}

TEST_F(HistoryRun, AFailedRenameOrWriteLeavesTheOldHistoryByteForByteAndSaysWhy) {
    const std::string old = "http://a/\t1\r\nfile:///o/OLD.HTM\t5\r\n";
    WriteBytes(histPath, old);
    fs.failRenameTo = histPath;
    auto out = Copy();
    out->Add("file:///o/PAGE.HTM\t9");
    EXPECT_FALSE(ReplaceHistory(fs, *out, histPath));
    EXPECT_NE(out->Failure().find(histPath), std::string::npos) << out->Failure();
    EXPECT_EQ(ReadBytes(histPath), old);
    EXPECT_FALSE(FileExists(newPath));

    // The disk fills while the old records are copied.
    fs.failRenameTo.clear();
    fs.failWritesTo = newPath;
    fs.writeBudget = 5;  // part of the first record, then the disk is full
    try {
        Copy();
        FAIL() << "the failed write was not reported";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(newPath), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadBytes(histPath), old);
    EXPECT_FALSE(FileExists(newPath));

    // A record that cannot be appended later makes the new file fail: it
    // never replaces the old one.
    fs.written = 0;
    fs.writeBudget = 1000;
    out = Copy();
    fs.writeBudget = fs.written;
    out->Add("file:///o/PAGE.HTM\t9");
    EXPECT_FALSE(out->Failure().empty());
    EXPECT_FALSE(ReplaceHistory(fs, *out, histPath));
    EXPECT_EQ(ReadBytes(histPath), old);
    EXPECT_FALSE(FileExists(newPath));
}

TEST_F(HistoryRun, AHistoryTheUserMayNotWriteIsNotRewritten) {
    WriteBytes(histPath, "http://a/\t1\r\n");
    ::chmod(histPath.c_str(), 0444);
    try {
        Copy();
        FAIL() << "a read-only history was rewritten";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), histPath);
    }
    EXPECT_FALSE(FileExists(newPath));
}

TEST_F(HistoryRun, AMissingOldHistoryIsAnErrorNamingIt) {
    try {
        Copy();
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), histPath);
        EXPECT_EQ(e.problem(), "File not found");
    }
}

}  // namespace
}  // namespace restash
