#include <gtest/gtest.h>

#include <cerrno>

#include "tests/core/jobs/delete_fixture.h"
#include "tests/support/faulty_file_system.h"

namespace restash::test {
namespace {

const std::string kHeader = "MCOM-Cache-file-allocation-table-format-1";
const std::string kPrefix = "C:\\NETSCAPE\\CACHE\\";

std::string Line(const NsObject& o) { return TextIndexLine(o, kPrefix); }

// A text cache with lines written by hand; every object's file is written
// unless it says otherwise.
void WriteCache(DeleteFixture& f, const std::vector<NsObject>& objects, const std::string& indexBytes) {
    WriteTextCache(f.cache, objects);
    WriteBytes(f.IndexPath(), indexBytes);
}

TEST(DeleteFromTextIndex, RewritesTheIndexWithoutTheSelectedLinesAndRemovesTheirFiles) {
    DeleteFixture f;
    NsObject a1 = Obj("http://a.com/", "A1.HTM", "text/html");
    NsObject a2 = Obj("http://a.com/pic.gif", "A2.GIF", "image/gif");
    NsObject zip = Obj("http://A.COM/x.zip", "A3.ZIP", "application/zip");  // other: its box is unchecked
    NsObject b1 = Obj("http://b.com/", "B1.HTM", "text/html");
    b1.writeFile = false;  // an unchosen domain's line whose file is gone
    NsObject longB = Obj("http://b.com/" + std::string(400, 'x'), "B2.HTM", "text/html");
    NsObject a5 = Obj("http://a.com/last", "A5.HTM", "text/html");
    const std::string input = kHeader + "\r\n" + Line(a1) + "\r\n" + Line(b1) + "\r\n\r\n" + Line(a2) + "\n" +
                              Line(zip) + "\r" + Line(longB) + "\r\n" + Line(a5);  // no line end at the end
    WriteCache(f, {a1, a2, zip, b1, longB, a5}, input);

    f.Open(IndexFormat::TextIndex);
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"a.com", "A.COM", "b.com"}));
    f.Unchoose("b.com");
    f.messages.Answer(Answer::Yes);
    const Deleted s = f.Delete();

    EXPECT_TRUE(s.deleted);
    EXPECT_EQ(s.entriesRemoved, 3u);
    EXPECT_EQ(s.filesDeleted, 3u);
    EXPECT_TRUE(s.failures.empty());
    // Every kept line, header included, ends in CR CR LF; nothing is cut.
    EXPECT_EQ(ReadBytes(f.IndexPath()), kHeader + "\r\r\n" + Line(b1) + "\r\r\n" + Line(zip) + "\r\r\n" + Line(longB) + "\r\r\n");
    for (const char* gone : {"A1.HTM", "A2.GIF", "A5.HTM"}) EXPECT_FALSE(FileExists(f.cache + gone)) << gone;
    for (const char* kept : {"A3.ZIP", "B2.HTM"}) EXPECT_TRUE(FileExists(f.cache + kept)) << kept;
    EXPECT_FALSE(FileExists(f.TempFat()));

    // The plain question, the busy caption and its return, then the re-read.
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{kDeleteQuestion}));
    EXPECT_EQ(f.messages.shown[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(f.messages.shown[0].buttons, Buttons::YesNoCancel);
    ASSERT_GE(f.progress.busy.size(), 4u);
    const auto& b = f.progress.busy;
    const std::size_t first = b.size() - 4;
    EXPECT_TRUE(b[first].on);
    EXPECT_EQ(b[first].caption, "Deleting Selection From Fat...");
    EXPECT_FALSE(b[first + 1].on);
    EXPECT_EQ(b[first + 1].caption, "Processing Cache Index. Please Wait.");
    EXPECT_FALSE(b.back().on);
    EXPECT_EQ(b.back().caption, "Processing Cache Index. Please Wait.");

    // Rebuilt from the new index: every remaining domain chosen again.
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"A.COM", "b.com"}));
    EXPECT_TRUE(f.model.Available().empty());
    EXPECT_EQ(f.model.Entries().size(), 2u);
}

TEST(DeleteFromTextIndex, KeepsTheHeaderAndOddLinesWhole) {
    DeleteFixture f;
    NsObject a1 = Obj("http://a.com/", "A1.HTM", "text/html");
    // A header that looks like an entry of the chosen domain, a line whose
    // stamp is not a whole number and one whose stamp does not fit 32 bits
    // (both files exist), added after the window has read the index.
    const std::string header = "MCOM-CACHE\t1\t2\t" + std::to_string(kOldStamp + 5) + "\tC:\\A1.HTM\thttp://a.com/\ttext/html\t0\t";
    const std::string bad = "1\t2\t12x45\t" + kPrefix + "A4.HTM\thttp://a.com/bad\ttext/html\t0\t";
    const std::string overflow = "1\t2\t99999999999\t" + kPrefix + "A6.HTM\thttp://a.com/big\ttext/html\t0\t";
    WriteCache(f, {a1, Obj("http://a.com/bad", "A4.HTM", "text/html"), Obj("http://a.com/big", "A6.HTM", "text/html")},
               header + "\r\n" + Line(a1) + "\r\n");
    f.Open(IndexFormat::TextIndex);
    ASSERT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"a.com"}));
    WriteBytes(f.IndexPath(), header + "\r\n" + Line(a1) + "\r\n" + bad + "\r\n" + overflow);

    f.messages.Answer(Answer::Yes);
    const Deleted s = f.Delete();
    EXPECT_EQ(s.entriesRemoved, 1u);
    EXPECT_EQ(ReadBytes(f.IndexPath()), header + "\r\r\n" + bad + "\r\r\n" + overflow + "\r\r\n");
    EXPECT_FALSE(FileExists(f.cache + "A1.HTM"));
    EXPECT_TRUE(FileExists(f.cache + "A4.HTM"));
    EXPECT_TRUE(FileExists(f.cache + "A6.HTM"));
    // The re-read meets the bad stamps and warns of each line and of the
    // damage; the deletion is done all the same.
    EXPECT_TRUE(s.deleted);
    ASSERT_EQ(f.messages.shown.size(), 4u);
    EXPECT_EQ(f.messages.shown[1].kind, MessageKind::Warning);
    EXPECT_NE(f.messages.shown[1].text.find("12x45"), std::string::npos) << f.messages.shown[1].text;
    EXPECT_NE(f.messages.shown[3].text.find("is damaged"), std::string::npos) << f.messages.shown[3].text;
}

TEST(DeleteFromTextIndex, JudgesLatin1AddressesByTheirWholeFieldsAndKeepsTheirLinesWhole) {
    DeleteFixture f;
    const NsObject page = Obj("http://a.com/caf\xe9.html", "A1.HTM", "text/html");  // chosen text: goes
    const NsObject other = Obj("http://a.com/r\xe9sum\xe9.zip", "A2.ZIP", "application/zip");  // box unchecked
    const NsObject unchosen = Obj("http://b.com/\xfc" "ber.html", "B1.HTM", "text/html");
    WriteTextCache(f.cache, {page, other, unchosen});
    f.Open(IndexFormat::TextIndex);
    f.model.SetTypeIncluded(Category::Other, false);
    f.Unchoose("b.com");
    f.messages.Answer(Answer::Yes);
    EXPECT_EQ(f.Delete().entriesRemoved, 1u);
    EXPECT_EQ(ReadBytes(f.IndexPath()), kHeader + "\r\r\n" + Line(other) + "\r\r\n" + Line(unchosen) + "\r\r\n");
    EXPECT_FALSE(FileExists(f.cache + "A1.HTM"));
    ASSERT_EQ(f.model.Entries().size(), 2u);
    EXPECT_EQ(f.model.Entries()[1].Url, unchosen.url);
}

TEST(DeleteFromTextIndex, TheWholeCacheWarningOnlyWhenEverythingGoes) {
    struct Case {
        const char* name;
        bool withOther;
        bool checkOthers;
        AgeMode mode;
        bool unchooseOne;
        bool warning;
    };
    const Case cases[] = {
        {"all chosen, other files left out", true, false, AgeMode::AllAges, false, false},
        {"all chosen, other files too", true, true, AgeMode::AllAges, false, true},
        {"no other files at all", false, false, AgeMode::AllAges, false, true},
        {"a domain left available", false, false, AgeMode::AllAges, true, false},
        {"newer than", false, true, AgeMode::NewerThan, false, false},
        {"older than", false, true, AgeMode::OlderThan, false, false},
    };
    for (const Case& c : cases) {
        DeleteFixture f;
        std::vector<NsObject> objects = {Obj("http://a.com/", "A1.HTM", "text/html", kNowClock - 3600 * 24 * 30),
                                         Obj("http://b.com/", "B1.GIF", "image/gif", kNowClock - 3600 * 24 * 30)};
        if (c.withOther) objects.push_back(Obj("http://a.com/z", "A2.ZIP", "application/zip", kNowClock - 3600 * 24 * 30));
        WriteTextCache(f.cache, objects);
        const std::string before = ReadBytes(f.IndexPath());
        f.Open(IndexFormat::TextIndex);
        if (c.mode != AgeMode::AllAges) {
            f.model.SetAgeUnit(AgeUnit::Weeks);
            f.model.SetAgeMode(c.mode);
            if (c.mode == AgeMode::NewerThan) f.model.SetAgeNumber(5);  // six weeks: everything is newer
        }
        f.model.SetTypeIncluded(Category::Other, c.checkOthers);
        if (c.unchooseOne) f.Unchoose("b.com");
        ASSERT_GT(f.model.CheckedTotal(), 0u) << c.name;
        f.messages.Answer(Answer::No);
        const Deleted s = f.Delete();
        EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{c.warning ? kDeleteWholeCacheQuestion : kDeleteQuestion}))
            << c.name;
        EXPECT_FALSE(s.deleted);
        EXPECT_EQ(ReadBytes(f.IndexPath()), before) << c.name;
    }
}

TEST(DeleteFromTextIndex, NoCancelNothingToDeleteAndARunningNetscapeChangeNothing) {
    DeleteFixture f;
    WriteTextCache(f.cache, {Obj("http://a.com/", "A1.HTM", "text/html"), Obj("http://b.com/", "B1.HTM", "text/html")});
    const std::string before = ReadBytes(f.IndexPath());
    WriteBytes(f.TempFat(), "left over");
    f.Open(IndexFormat::TextIndex);
    f.Unchoose("b.com");

    // No and Cancel: the lists stay as the user left them.
    for (Answer a : {Answer::No, Answer::Cancel}) {
        f.messages.Answer(a);
        EXPECT_FALSE(f.Delete().deleted);
        EXPECT_EQ(f.model.Available().Names(), (std::vector<std::string>{"b.com"}));
    }
    // A TEMP.FAT from an earlier run goes first of all.
    EXPECT_FALSE(FileExists(f.TempFat()));

    // Nothing checked: "No Files To Delete.", and nothing asked.
    f.messages.shown.clear();
    f.model.SetTypeIncluded(Category::Text, false);
    const Deleted nothing = f.Delete();
    EXPECT_FALSE(nothing.deleted);
    EXPECT_EQ(nothing.failure.code, FailureCode::NothingChosen);
    EXPECT_EQ(nothing.failure.text, "No Files To Delete.");
    EXPECT_TRUE(f.messages.shown.empty());

    // Netscape running: the failure says so, and nothing is asked.
    f.model.SetTypeIncluded(Category::Text, true);
    f.messages.shown.clear();
    f.processes.running = true;
    const Deleted running = f.Delete();
    EXPECT_FALSE(running.deleted);
    EXPECT_EQ(running.failure.code, FailureCode::BrowserRunning);
    EXPECT_EQ(running.failure.text, "Please shut down Netscape\r\nbefore continuing.");
    EXPECT_TRUE(f.messages.shown.empty());

    EXPECT_EQ(ReadBytes(f.IndexPath()), before);
    EXPECT_TRUE(FileExists(f.cache + "A1.HTM"));
}

TEST(DeleteFromTextIndex, AFailedRewriteLeavesTheIndexAndEveryCacheFile) {
    const std::vector<NsObject> objects = {Obj("http://a.com/", "A1.HTM", "text/html"),
                                           Obj("http://a.com/2", "A2.HTM", "text/html"),
                                           Obj("http://b.com/", "B1.HTM", "text/html")};
    for (int variant = 0; variant < 3; ++variant) {
        DeleteFixture f;
        WriteTextCache(f.cache, objects);
        const std::string before = ReadBytes(f.IndexPath());
        f.Open(IndexFormat::TextIndex);
        f.Unchoose("b.com");
        FaultyFileSystem fs;
        std::string named;
        if (variant == 0) {
            fs.failWritesTo = f.TempFat();  // the disk fills up half-way
            fs.writeBudget = 60;
            named = f.IndexPath();  // the file the user knows, not the new one
        } else if (variant == 1) {
            fs.failRenameTo = f.IndexPath();
            named = f.IndexPath();
        } else {
            RealFileSystem().Remove(f.IndexPath());  // vanished since it was read
            named = f.IndexPath();
        }
        f.messages.Answer(Answer::Yes);
        const Deleted d = f.Delete(fs);
        EXPECT_EQ(d.status, JobStatus::Failed) << "variant " << variant;
        EXPECT_EQ(d.failure.code, FailureCode::Error);
        EXPECT_EQ(d.failure.path, named);
        if (variant < 2) {
            EXPECT_EQ(ReadBytes(f.IndexPath()), before);
        }
        for (const NsObject& o : objects) EXPECT_TRUE(FileExists(f.cache + o.fileName)) << o.fileName;
        EXPECT_FALSE(FileExists(f.TempFat()));
        // The busy state ended, its caption back to the reading one.
        ASSERT_FALSE(f.progress.busy.empty());
        EXPECT_FALSE(f.progress.busy.back().on);
        EXPECT_EQ(f.progress.busy.back().caption, "Processing Cache Index. Please Wait.");
    }
}

// Renames from the program folder fail as they do between two file systems.
class TwoDiskFileSystem final : public FileSystem {
public:
    explicit TwoDiskFileSystem(std::string programDir) : programDir_(std::move(programDir)) {}
    std::unique_ptr<OutputFile> Create(const std::string& p) override { return RealFileSystem().Create(p); }
    std::unique_ptr<OutputFile> Append(const std::string& p) override { return RealFileSystem().Append(p); }
    void Rename(const std::string& f, const std::string& t) override {
        if (f.rfind(programDir_, 0) == 0) throw FileError(t, DescribeErrno(EXDEV));
        RealFileSystem().Rename(f, t);
    }
    void Remove(const std::string& p) override { RealFileSystem().Remove(p); }
    void CopyFile(const std::string& f, const std::string& t) override { RealFileSystem().CopyFile(f, t); }
    void CreateDirectories(const std::string& p) override { RealFileSystem().CreateDirectories(p); }
    void RemoveDirectory(const std::string& p) override { RealFileSystem().RemoveDirectory(p); }

private:
    std::string programDir_;
};

TEST(DeleteFromTextIndex, ReplacesAnIndexOnAnotherFileSystem) {
    DeleteFixture f;
    WriteTextCache(f.cache, {Obj("http://a.com/", "A1.HTM", "text/html"), Obj("http://b.com/", "B1.HTM", "text/html")});
    f.Open(IndexFormat::TextIndex);
    f.Unchoose("b.com");
    TwoDiskFileSystem fs(f.home);
    f.messages.Answer(Answer::Yes);
    EXPECT_TRUE(f.Delete(fs).deleted);
    EXPECT_EQ(ReadBytes(f.IndexPath()), kHeader + "\r\r\n" + Line(Obj("http://b.com/", "B1.HTM", "text/html")) + "\r\r\n");
    EXPECT_FALSE(FileExists(f.TempFat()));
    EXPECT_FALSE(FileExists(TemporaryNameFor(f.IndexPath())));
    EXPECT_FALSE(FileExists(f.cache + "A1.HTM"));
}

TEST(DeleteFromTextIndex, AFileThatCannotBeRemovedIsReportedAndItsLineIsGone) {
    DeleteFixture f;
    WriteTextCache(f.cache, {Obj("http://a.com/", "A1.HTM", "text/html"), Obj("http://a.com/2", "A2.HTM", "text/html"),
                             Obj("http://b.com/", "B1.HTM", "text/html")});
    f.Open(IndexFormat::TextIndex);
    f.Unchoose("b.com");
    StubbornRemoveFileSystem fs(f.cache + "A1.HTM");
    f.messages.Answer(Answer::Yes);
    const Deleted s = f.Delete(fs);
    EXPECT_TRUE(s.deleted);
    EXPECT_EQ(s.entriesRemoved, 2u);
    EXPECT_EQ(s.filesDeleted, 1u);
    ASSERT_EQ(s.failures.size(), 1u);
    EXPECT_NE(s.failures[0].find(f.cache + "A1.HTM"), std::string::npos);
    EXPECT_TRUE(FileExists(f.cache + "A1.HTM"));
    ASSERT_EQ(f.messages.shown.size(), 2u);
    EXPECT_EQ(f.messages.shown[1].kind, MessageKind::Error);
    // The index was read again: the entry is gone although its file stayed.
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"b.com"}));
}

TEST(DeleteFromTextIndex, TheListsAreRebuiltWithTheAgeWindowTheControlsShow) {
    DeleteFixture f;
    const std::int32_t recent = static_cast<std::int32_t>(kNowClock) - 3 * 86400;
    WriteTextCache(f.cache, {Obj("http://new.com/", "N1.HTM", "text/html", recent),
                             Obj("http://new.com/2", "N2.GIF", "image/gif", recent),
                             Obj("http://old.com/", "O1.HTM", "text/html", kOldStamp)});
    f.Open(IndexFormat::TextIndex);
    f.model.SetAgeUnit(AgeUnit::Weeks);
    f.model.SetAgeMode(AgeMode::NewerThan);
    f.model.SetTypeIncluded(Category::Media, false);
    ASSERT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"new.com"}));
    f.messages.Answer(Answer::Yes);
    EXPECT_EQ(f.Delete().entriesRemoved, 1u);
    EXPECT_FALSE(FileExists(f.cache + "N1.HTM"));
    EXPECT_TRUE(FileExists(f.cache + "N2.GIF"));
    // Still "Newer than 1 week": the old domain does not come back.
    EXPECT_EQ(f.model.Mode(), AgeMode::NewerThan);
    EXPECT_EQ(f.model.Chosen().Names(), (std::vector<std::string>{"new.com"}));
    EXPECT_EQ(f.model.Counts().media, 1u);
    EXPECT_EQ(f.model.Counts().text, 0u);
}

}  // namespace
}  // namespace restash::test
