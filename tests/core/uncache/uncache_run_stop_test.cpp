// Stopping a run, and what it does with the browser's history file: a
// stopped run leaves the root without files and MEDIA and OTHERS empty, and
// still puts the history (without the old local records) in place; a stop
// while the old history is still being read leaves it as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/gif.h"
#include "tests/support/history_file.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

constexpr int kPages = 12;

const std::string kOldHistory =
    "MCOM-Global-history-file-1\r\n"
    "http://a.example/page0.html\t851000000\r\n"
    "file:///old/OFFLINE/PAGE0.HTM\t850000000\r\n"
    "http://elsewhere.example/\t851000001\n";
// The old history as the run writes it back: without the local record,
// every record ending in CR CR LF.
const std::string kKeptHistory =
    "MCOM-Global-history-file-1\r\r\n"
    "http://a.example/page0.html\t851000000\r\r\n"
    "http://elsewhere.example/\t851000001\r\r\n";

// Twelve pages, each linking to the next and to a picture, and one file of
// each other kind, in a text-form cache with a history file.
class StoppedRun : public ::testing::Test, public RunFixture {
protected:
    void SetUp() override {
        std::vector<NsObject> objects;
        for (int i = 0; i < kPages; ++i)
            objects.push_back(Object("http://a.example/page" + std::to_string(i) + ".html", "text/html",
                                     "<TITLE>Page " + std::to_string(i) + "</TITLE><A HREF=page" +
                                         std::to_string((i + 1) % kPages) + ".html>next</A><IMG SRC=pic.gif>"));
        objects.push_back(Object("http://a.example/pic.gif", "image/gif", StripedGif(3, 3, 0, 0xFFFFFF)));
        objects.push_back(Object("http://a.example/notes.txt", "text/plain", "notes"));
        objects.push_back(Object("http://a.example/data.zip", "application/x-zip-compressed", "PK"));
        TextCache(objects);
        WriteBytes(settings.HistPath, kOldHistory);
    }

    RunOutcome StopAt(const std::string& phase, long nth) {
        stopper = std::make_unique<PhaseProgress>(phase, nth);
        sink = stopper.get();
        return RunFixture::Run();  // a stopped run asks nothing
    }

    void ExpectCleanedUp(const RunOutcome& outcome) {
        EXPECT_TRUE(stopper->reached);
        EXPECT_EQ(outcome.ending, Ending::Stopped);
        EXPECT_TRUE(FilesIn(settings.OfflineDir).empty());
        EXPECT_TRUE(FilesIn(Offline("MEDIA")).empty());
        EXPECT_TRUE(FilesIn(Offline("OTHERS")).empty());
        EXPECT_FALSE(std::filesystem::exists(Offline("TEMP")));
        EXPECT_FALSE(FileExists(TemporaryNameFor(settings.HistPath)));
        EXPECT_TRUE(messages.shown.empty());
        ASSERT_GE(stopper->phases.size(), 2u);
        EXPECT_EQ(stopper->phases[stopper->phases.size() - 2], kPhaseCleaning);
        EXPECT_EQ(stopper->phases.back(), "");
    }

    std::unique_ptr<PhaseProgress> stopper;
};

TEST_F(StoppedRun, DuringCopyingLeavesNothingButStillReplacesTheHistory) {
    // The first point of the loop: the entry at hand is still copied, then
    // the loop ends.
    const RunOutcome outcome = StopAt(kPhaseCopying, 2);
    ExpectCleanedUp(outcome);
    EXPECT_EQ(outcome.filesCopied, 0u) << "no page was converted";
    EXPECT_EQ(ReadBytes(settings.HistPath), kKeptHistory);
    EXPECT_EQ(std::count(stopper->phases.begin(), stopper->phases.end(), kPhaseIndex), 0);
}

TEST_F(StoppedRun, DuringConvertingKeepsTheRecordsOfThePagesDone) {
    // Points of the converting phase: its start, then the first and the
    // eleventh page; the eleventh is still converted.
    const RunOutcome outcome = StopAt(kPhaseConverting, 3);
    ExpectCleanedUp(outcome);
    EXPECT_EQ(outcome.pagesConverted, 11u);
    const std::string history = ReadBytes(settings.HistPath);
    ASSERT_EQ(history.substr(0, kKeptHistory.size()), kKeptHistory);
    // Pages 1 to 11 and the picture were reached by the eleven pages done,
    // in the order the links were met: page 0 links page 1 before the picture.
    std::string expected = kKeptHistory;
    expected += "file://" + settings.OfflineDir + "PAGE1.HTM\t852300000\r\r\n";
    expected += "file://" + settings.OfflineDir + "MEDIA/PIC.GIF\t852300000\r\r\n";
    for (int i = 2; i <= 11; ++i)
        expected += "file://" + settings.OfflineDir + "PAGE" + std::to_string(i) + ".HTM\t852300000\r\r\n";
    EXPECT_EQ(history, expected);
}

TEST_F(StoppedRun, WhileTheOldHistoryIsReadLeavesItAsItWas) {
    const RunOutcome outcome = StopAt(kPhaseHistory, 1);
    ExpectCleanedUp(outcome);
    EXPECT_EQ(ReadBytes(settings.HistPath), kOldHistory);
}

TEST_F(StoppedRun, WhileTheIndexIsWrittenTheRunStillFinishes) {
    messages.Answer(Answer::No);
    const RunOutcome outcome = StopAt(kPhaseIndex, 1);
    EXPECT_TRUE(stopper->reached);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_TRUE(FileExists(Offline("0.RSH")));
    EXPECT_TRUE(FileExists(Offline("PAGE11.HTM")));
    EXPECT_TRUE(FileExists(Offline("MEDIA/PIC.GIF")));
    EXPECT_EQ(std::count(stopper->phases.begin(), stopper->phases.end(), kPhaseCleaning), 0);
}

TEST_F(StoppedRun, AFinishedRunWritesOneRecordPerReachedFile) {
    messages.Answer(Answer::No);
    RunFixture::Run();
    const std::string first = ReadBytes(settings.HistPath);
    ASSERT_EQ(first.substr(0, kKeptHistory.size()), kKeptHistory);
    // Twelve pages and the picture; the text and archive are linked by none.
    const std::string added = first.substr(kKeptHistory.size());
    EXPECT_EQ(std::count(added.begin(), added.end(), '\n'), kPages + 1);
    EXPECT_NE(added.find("file://" + settings.OfflineDir + "PAGE0.HTM\t852300000\r\r\n"), std::string::npos);

    // The second run drops the first run's records and writes its own.
    messages.Answer(Answer::No);
    selection.NowStamp = kRunStamp + 60;
    RunFixture::Run();
    std::string expected = first;
    for (std::size_t at = expected.find("\t852300000"); at != std::string::npos; at = expected.find("\t852300000", at))
        expected.replace(at, 10, "\t852300060");
    EXPECT_EQ(ReadBytes(settings.HistPath), expected);
}

TEST_F(StoppedRun, AMissingHistoryFileIsReportedAndTheRunGoesOn) {
    std::filesystem::remove(settings.HistPath);
    messages.Answer(Answer::No);
    const RunOutcome outcome = RunFixture::Run();
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages.shown[0].text, kBadHistoryPath);
    EXPECT_FALSE(FileExists(settings.HistPath));
    EXPECT_FALSE(FileExists(TemporaryNameFor(settings.HistPath)));
    EXPECT_EQ(progress.phases.front(), kPhaseDirectories);
    EXPECT_EQ(outcome.pagesConverted, static_cast<std::uint64_t>(kPages));
}

}  // namespace
}  // namespace restash::test
