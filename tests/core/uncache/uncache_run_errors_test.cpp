// Runs that meet bad input or a failing disk: the error names the file, the
// run stops where it was, and the user's history file is never left damaged
// or half-written.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/platform/error.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/gif.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

const std::string kHistory = "MCOM-Global-history-file-1\r\nhttp://a.example/\t851000000\r\n";

// A file system whose whole-file copies onto one path fail as on a full disk.
class FullDiskCopies final : public FileSystem {
public:
    std::string failCopyTo;

    std::unique_ptr<OutputFile> Create(const std::string& path) override { return real_.Create(path); }
    std::unique_ptr<OutputFile> Append(const std::string& path) override { return real_.Append(path); }
    void Rename(const std::string& from, const std::string& to) override { real_.Rename(from, to); }
    void Remove(const std::string& path) override { real_.Remove(path); }
    void CopyFile(const std::string& from, const std::string& to) override {
        if (to == failCopyTo) {
            WriteBytes(to, "par");  // what a full disk leaves
            throw FileError(to, "Disk full");
        }
        real_.CopyFile(from, to);
    }
    void CreateDirectories(const std::string& path) override { real_.CreateDirectories(path); }
    void RemoveDirectory(const std::string& path) override { real_.RemoveDirectory(path); }

private:
    FileSystem& real_ = RealFileSystem();
};

// A text-form cache with a history file, and a finished earlier run.
class FailingRun : public ::testing::Test, public RunFixture {
protected:
    void SetUp() override {
        TextCache({Object("http://a.example/", "text/html", "<TITLE>Home</TITLE><A HREF=page.html>p</A>"
                                                             "<IMG SRC=pic.gif><A HREF=big.zip>z</A>"),
                   Object("http://a.example/page.html", "text/html", "<TITLE>Page</TITLE><A HREF=/>home</A>"),
                   Object("http://a.example/pic.gif", "image/gif", StripedGif(4, 4, 0, 0xFFFFFF)),
                   Object("http://a.example/big.zip", "application/x-zip-compressed", std::string(5000, 'z'))});
        WriteBytes(settings.HistPath, kHistory);
    }

    // The file error the run ends with.
    FileError RunExpectingError(FileSystem& fs) {
        try {
            RunFixture::Run(fs);
        } catch (const FileError& e) {
            return e;
        }
        ADD_FAILURE() << "the run ended without an error";
        return FileError("", "");
    }

    void ExpectHistoryUntouched() {
        EXPECT_EQ(ReadBytes(settings.HistPath), kHistory);
        EXPECT_FALSE(FileExists(TemporaryNameFor(settings.HistPath)));
    }
};

TEST_F(FailingRun, AnOfflineFolderThatCannotBeCreated) {
    WriteBytes(dir / "BLOCK", "a file where a folder should be");
    settings.OfflineDir = dir / "BLOCK/OFFLINE/";
    const FileError e = RunExpectingError(RealFileSystem());
    EXPECT_EQ(e.path(), settings.OfflineDir);
    EXPECT_NE(std::string(e.what()).find("BLOCK/OFFLINE"), std::string::npos) << e.what();
    ExpectHistoryUntouched();
    EXPECT_EQ(ReadBytes(dir / "BLOCK"), "a file where a folder should be");
    EXPECT_TRUE(messages.shown.empty());
}

// The history never ends a run: the copy is made, the history stays as it
// was and the warning names it and says why.
TEST_F(FailingRun, AHistoryThatCannotBeReadWrittenOrReplacedIsLeftAsItWasWithAWarning) {
    struct Case {
        const char* what;
        std::function<void(FaultyFileSystem&)> fault;
    };
    const std::vector<Case> cases{
        {"cannot be read",
         [&](FaultyFileSystem&) {
             std::filesystem::remove(settings.HistPath);
             std::filesystem::create_directory(settings.HistPath);  // exists, but reading it fails
         }},
        {"new one cannot be written",
         [&](FaultyFileSystem& fs) {
             fs.failWritesTo = TemporaryNameFor(settings.HistPath);
             fs.writeBudget = 20;
         }},
        {"cannot be replaced", [&](FaultyFileSystem& fs) { fs.failRenameTo = settings.HistPath; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(settings.HistPath);
        WriteBytes(settings.HistPath, kHistory);
        messages.shown.clear();
        FaultyFileSystem fs;
        c.fault(fs);
        const bool folder = std::filesystem::is_directory(settings.HistPath);
        messages.Answer(Answer::No);
        const RunOutcome outcome = RunFixture::Run(fs);
        EXPECT_EQ(outcome.ending, Ending::Finished);
        EXPECT_NE(outcome.historyNotUpdated.find(settings.HistPath), std::string::npos) << outcome.historyNotUpdated;
        EXPECT_TRUE(FileExists(Offline("HTMLIST")));
        if (folder)
            EXPECT_TRUE(std::filesystem::is_directory(settings.HistPath));
        else
            ExpectHistoryUntouched();
        EXPECT_FALSE(FileExists(TemporaryNameFor(settings.HistPath)));
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Warning);
    }
}

TEST_F(FailingRun, AConvertedPageThatCannotBeWritten) {
    FaultyFileSystem fs;
    fs.failWritesTo = Building("PAGE.HTM");
    fs.writeBudget = 10;
    const FileError e = RunExpectingError(fs);
    EXPECT_EQ(e.path(), Offline("PAGE.HTM"));
    ExpectHistoryUntouched();
}

// A copy that cannot be written is the disk's fault, not the cache file's:
// the run ends rather than carry on leaving out every file after it.
TEST_F(FailingRun, ACopyThatCannotBeWrittenEndsTheRun) {
    FullDiskCopies fs;
    fs.failCopyTo = Building("OTHERS/BIG.ZIP");
    const FileError e = RunExpectingError(fs);
    EXPECT_EQ(e.path(), Offline("OTHERS/BIG.ZIP")) << "the error names the file the user knows";
    EXPECT_EQ(e.problem(), "Disk full");
    ExpectHistoryUntouched();
    EXPECT_TRUE(messages.shown.empty());
}

// Cache files that were listed but cannot be read (here: turned into folders
// once the run has listed the cache folder) are left out: no copy, no
// half-copy, links to them treated as uncached, and a warning names them.
TEST_F(FailingRun, CacheFilesThatCannotBeReadAreLeftOutAndNamed) {
    std::string picFile, pageFile;
    for (const CacheEntry& entry : entries) {
        if (entry.Url == "http://a.example/pic.gif") picFile = settings.CacheDir + entry.Body.Name;
        if (entry.Url == "http://a.example/page.html") pageFile = settings.CacheDir + entry.Body.Name;
    }
    ASSERT_TRUE(FileExists(picFile));
    ASSERT_TRUE(FileExists(pageFile));
    PhaseProgress damage(kPhaseCopying, 2);
    damage.action = [&] {
        for (const std::string& path : {picFile, pageFile}) {
            std::filesystem::remove(path);
            std::filesystem::create_directory(path);
        }
    };
    sink = &damage;
    messages.Answer(Answer::No);

    const RunOutcome outcome = RunFixture::Run();

    ASSERT_TRUE(damage.reached);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_EQ(outcome.copyFailures.size(), 2u);
    ASSERT_GE(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Warning);
    EXPECT_NE(messages.shown[0].text.find(picFile), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find(pageFile), std::string::npos) << messages.shown[0].text;
    EXPECT_FALSE(FileExists(Offline("MEDIA/PIC.GIF")));
    EXPECT_FALSE(FileExists(Offline("PAGE.HTM")));
    EXPECT_EQ(Read("AEXAMPLE.HTM"), "<TITLE>Home</TITLE><A HREF=NOTFOUND>p</A><IMG SRC=MEDIA/NOTFOUND.GIF>"
                                    "<BLINK><A HREF=OTHERS/BIG.ZIP></BLINK>z</A>");
    EXPECT_EQ(Read("HTMLIST"), "http://a.example/\r\nHome\r\nAEXAMPLE.HTM\r\n");
    // The history names only what the offline copy holds.
    EXPECT_EQ(ReadBytes(settings.HistPath), "MCOM-Global-history-file-1\r\r\nhttp://a.example/\t851000000\r\r\n"
                                            "file://" + settings.OfflineDir + "OTHERS/BIG.ZIP\t852300000\r\r\n");
}

}  // namespace
}  // namespace restash::test
