// A write, flush, close, rename, create or copy that fails at each step of
// the operations that write the user's files. After every failure a file
// that was being replaced is either its complete new version or its old one,
// the failure is reported naming the file, and no temporary file is left.
#include <gtest/gtest.h>

#include <optional>

#include "core/app/ini_file.h"
#include "core/index/frameset_index.h"
#include "core/index/page_index.h"
#include "core/platform/error.h"
#include "tests/core/jobs/delete_fixture.h"
#include "tests/core/hardening/hardening_fixture.h"
#include "tests/support/faulty_file_system.h"

namespace restash::test {
namespace {

// A failure "at step n" that the operation never reaches ends the walk; no
// operation here takes anywhere near this many steps.
constexpr std::size_t kStepLimit = 2000;

// What one attempt with a failing step gave.
struct Attempt {
    std::size_t step = 0;
    bool reached = false;  // the failing step was reached
    std::optional<std::string> error;
    std::string errorPath;  // FileError's file, when it was one
    std::string failedPath;
};

// Calls attempt(fs) with the n-th step failing for n = 1, 2 ... until an
// attempt runs to its end without reaching it; check sees every attempt.
template <class Op, class Check>
std::size_t WalkFailures(Op attempt, Check check) {
    for (std::size_t n = 1; n < kStepLimit; ++n) {
        FaultyFileSystem fs;
        fs.failAt = n;
        Attempt a;
        a.step = n;
        try {
            attempt(fs);
        } catch (const FileError& e) {
            a.error = e.what();
            a.errorPath = e.path();
        } catch (const Error& e) {
            a.error = e.what();
        }
        a.reached = fs.operations >= n;
        a.failedPath = fs.failedPath;
        SCOPED_TRACE("failing at step " + std::to_string(n) + " (" + a.failedPath + ")");
        check(a);
        if (!a.reached) return n;
    }
    ADD_FAILURE() << "the operation never ended";
    return kStepLimit;
}

bool OneOf(const std::string& bytes, const std::string& a, const std::string& b) { return bytes == a || bytes == b; }

void ExpectNoTemporaryFiles(const std::string& folder) {
    EXPECT_EQ(NamesEndingIn(Snapshot(folder), ".restash-new"), std::vector<std::string>{});
}

// --- The uncaching run: history file, copies, index pages -----------------

struct RunResultFiles {
    std::string history;
    Tree offline;
};

// The history names the offline files by their full paths: each fixture's
// folder is written as "<dir>/" to compare them.
std::string WithoutFolder(std::string bytes, const std::string& folder) {
    for (std::size_t at = bytes.find(folder); at != std::string::npos; at = bytes.find(folder, at))
        bytes.replace(at, folder.size(), "<dir>/");
    return bytes;
}

RunResultFiles CleanRun() {
    RunFixture f;
    f.Run(RealFileSystem());
    return {WithoutFolder(f.HistoryBytes(), f.dir.path()), Snapshot(f.settings.OfflineDir)};
}

// One walk through the whole run, looked at after every attempt.
TEST(FaultsInARun, HistoryCopiesAndIndexPagesAreNeverLeftHalfWritten) {
    const RunResultFiles clean = CleanRun();
    ASSERT_NE(clean.history, RunFixture::kHistory);  // the run does rewrite it
    const std::vector<std::string> indexPages = NamesEndingIn(clean.offline, ".RSH");
    ASSERT_FALSE(indexPages.empty());
    std::size_t thrown = 0;
    const std::size_t steps = WalkFailures(
        [&](FaultyFileSystem& fs) {
            RunFixture f;
            std::optional<RunOutcome> outcome;
            try {
                outcome = f.Run(fs);
            } catch (const Error&) {
                ++thrown;
            }
            // A copy that cannot be written ends the run: nothing is left
            // out quietly.
            if (outcome) {
                EXPECT_TRUE(outcome->copyFailures.empty());
            }
            const Tree offline = Snapshot(f.settings.OfflineDir);

            // A copied file holds its cache file's bytes, or is not there.
            for (const NsObject& o : f.objects)
                for (const auto& [name, bytes] : clean.offline)
                    if (o.mimeType != "text/html" && bytes == o.body && offline.count(name)) {
                        EXPECT_EQ(offline.at(name), o.body) << name;
                    }
            ExpectNoTemporaryFiles(f.dir.path());
            EXPECT_FALSE(FileExists(TemporaryNameFor(f.settings.HistPath)));

            // History and index pages are the ones a clean run writes, or
            // (after an error) untouched.
            EXPECT_TRUE(OneOf(WithoutFolder(f.HistoryBytes(), f.dir.path()), RunFixture::kHistory, clean.history));
            for (const std::string& page : indexPages)
                if (offline.count(page)) {
                    EXPECT_EQ(offline.at(page), clean.offline.at(page)) << page;
                }
        },
        [&](const Attempt& a) {
            if (a.error) {
                ASSERT_TRUE(a.reached) << *a.error;
                EXPECT_EQ(a.errorPath, a.failedPath) << *a.error;
                EXPECT_NE(a.error->find(a.failedPath), std::string::npos) << *a.error;
            }
        });
    EXPECT_GT(steps, 20u);
    EXPECT_GT(thrown, 10u);
}

// --- Rewriting a text index when deleting -------------------------------

TEST(FaultsInADeletion, TheIndexIsOldOrNewAndTheCacheFilesMatchIt) {
    const std::vector<NsObject> objects = {Obj("http://a.com/", "A1.HTM", "text/html"),
                                           Obj("http://a.com/x.gif", "A2.GIF", "image/gif"),
                                           Obj("http://b.com/", "B1.HTM", "text/html"),
                                           Obj("http://a.com/2", "A3.HTM", "text/html")};
    auto prepare = [&](DeleteFixture& f) {
        WriteTextCache(f.cache, objects);
        f.Open(IndexFormat::TextIndex);
        f.Unchoose("b.com");
        f.messages.Answer(Answer::Yes);
    };
    Tree before, after;
    {
        DeleteFixture f;
        prepare(f);
        before = Snapshot(f.cache);
        f.Delete();
        after = Snapshot(f.cache);
        ASSERT_NE(before.at("FAT"), after.at("FAT"));
    }
    WalkFailures(
        [&](FaultyFileSystem& fs) {
            DeleteFixture f;
            prepare(f);
            const Deleted d = f.Delete(fs);
            if (d.status == JobStatus::Failed) {
                EXPECT_EQ(Snapshot(f.cache), before);
                EXPECT_FALSE(FileExists(f.TempFat()));
                // The walk hears a failed job as the error naming its file.
                throw FileError(d.failure.path, d.failure.text);
            }
            EXPECT_EQ(Snapshot(f.cache), after);
            EXPECT_FALSE(FileExists(f.TempFat()));
        },
        [](const Attempt& a) {
            if (a.reached) {
                ASSERT_TRUE(a.error.has_value());
                // A failure of the new index names the index itself.
                EXPECT_TRUE(a.errorPath == a.failedPath || TemporaryNameFor(a.errorPath) == a.failedPath)
                    << a.errorPath << " for " << a.failedPath;
            }
        });
}

// --- The settings file ---------------------------------------------------

TEST(FaultsInASettingsWrite, TheFileIsOldOrNewAndTheErrorNamesIt) {
    const std::string old = "[paths]\r\ncachedir=/c/FAT.DB\r\n; kept comment\r\n[preferences]\r\ntag=BLINK\r\n";
    const std::string expected = "[paths]\r\ncachedir=/c/FAT.DB\r\n; kept comment\r\n[preferences]\r\ntag=BLINK\r\n"
                                 "emphtag=0\r\n";
    const std::size_t steps = WalkFailures(
        [&](FaultyFileSystem& fs) {
            TempDir dir;
            const std::string path = dir / "RESTASH.INI";
            WriteBytes(path, old);
            try {
                IniFile(path, fs).WriteString("Preferences", "emphtag", "0");
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
                EXPECT_EQ(ReadBytes(path), old);
                ExpectNoTemporaryFiles(dir.path());
                throw;
            }
            EXPECT_EQ(ReadBytes(path), expected);
            ExpectNoTemporaryFiles(dir.path());
        },
        [](const Attempt& a) { EXPECT_EQ(a.error.has_value(), a.reached); });
    EXPECT_GE(steps, 4u);  // create, write, close, rename at the least
}

// --- Index pages ----------------------------------------------------------

// An offline root holding the index files of an earlier run, and this run's
// records.
struct IndexRoot {
    TempDir dir;
    CopiedFiles files;
    FixedClock clock{852300300};
    NullProgress progress;

    explicit IndexRoot(const Tree& earlier) {
        for (const auto& [name, bytes] : earlier) WriteBytes(dir / name, bytes);
        files.List(files.AddPage("http://a.example/", "INDEX.HTM", "a.example/"), "Home");
        files.Add("HTTP://a.example/i.gif", "MEDIA/I.GIF");
        files.List(files.AddPage("http://b.example/p.html", "P.HTM", "b.example/"), "P");
    }
    IndexInputs Inputs(FileSystem& fs) {
        return IndexInputs{dir.path(), {"a.example", "b.example"}, files, clock, std::locale::classic(), progress, fs};
    }
};

void WalkIndexWriter(void (*write)(const IndexInputs&)) {
    Tree earlier;
    for (const char* name : {"0.RSH", "0.RSI", "1.RSH", "RESULTS.RSH", "RESTASH.RSH", "BUTTONS.RSH", "DOMAINS.RSH"})
        earlier[name] = std::string("earlier ") + name + "\r\n";
    Tree fresh;
    {
        IndexRoot root(earlier);
        write(root.Inputs(RealFileSystem()));
        fresh = Snapshot(root.dir.path());
    }
    std::size_t thrown = 0;
    WalkFailures(
        [&](FaultyFileSystem& fs) {
            IndexRoot root(earlier);
            const Tree start = Snapshot(root.dir.path());
            try {
                write(root.Inputs(fs));
            } catch (...) {
                ++thrown;
                const Tree now = Snapshot(root.dir.path());
                for (const auto& [name, bytes] : now) {
                    const bool old = start.count(name) && start.at(name) == bytes;
                    EXPECT_TRUE(old || bytes == fresh.at(name)) << name;
                }
                for (const auto& [name, bytes] : start) EXPECT_TRUE(now.count(name)) << name << " went";
                throw;
            }
            EXPECT_EQ(Snapshot(root.dir.path()), fresh);
        },
        [](const Attempt& a) {
            EXPECT_EQ(a.error.has_value(), a.reached);
            // A failure of a page's new file names the page itself.
            if (a.error) {
                EXPECT_TRUE(a.errorPath == a.failedPath || TemporaryNameFor(a.errorPath) == a.failedPath)
                    << a.errorPath << " for " << a.failedPath;
            }
        });
    EXPECT_GT(thrown, 10u);
}

TEST(FaultsInIndexPages, EveryPageFileIsOldOrNewInThePageForm) { WalkIndexWriter(&WritePageIndex); }
TEST(FaultsInIndexPages, EveryPageFileIsOldOrNewInTheFramesetForm) { WalkIndexWriter(&WriteFramesetIndex); }

}  // namespace
}  // namespace restash::test
