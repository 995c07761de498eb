// The jobs seen from a front end: each ends Completed, Stopped (whichever
// reader or writer heard the stop) or Failed with a code, and a choice made
// in the window and the same choice made by options give the same run.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/jobs/delete_job.h"
#include "core/jobs/export_job.h"
#include "core/jobs/list_job.h"
#include "core/jobs/search_job.h"
#include "core/jobs/uncache_job.h"
#include "tests/core/jobs/job_fixture.h"

namespace restash::test {
namespace {

SelectionOptions Domains(std::vector<std::string> names) {
    SelectionOptions o;
    o.domains = std::move(names);
    return o;
}

// Every way an uncaching run ends, from the options of the command line.
TEST(UncacheJob, EndsCompletedStoppedOrFailed) {
    struct Case {
        const char* name;
        std::function<void(JobFixture&, SelectionOptions&)> arrange;
        JobStatus status;
        FailureCode code;
    };
    const Case cases[] = {
        {"done", [](JobFixture& f, SelectionOptions&) { f.messages.Answer(Answer::No); }, JobStatus::Completed,
         FailureCode::None},
        {"browser runs", [](JobFixture& f, SelectionOptions&) { f.processes.running = true; }, JobStatus::Failed,
         FailureCode::BrowserRunning},
        {"no index", [](JobFixture& f, SelectionOptions&) { f.settings.FatName = "GONE"; }, JobStatus::Failed,
         FailureCode::CacheMissing},
        {"nothing chosen", [](JobFixture&, SelectionOptions& o) { o.types = "other"; }, JobStatus::Failed,
         FailureCode::NothingChosen},
        {"unknown domain", [](JobFixture&, SelectionOptions& o) { o.domains = {"nosuch.example"}; }, JobStatus::Failed,
         FailureCode::Error},
        {"stop in the reader", [](JobFixture& f, SelectionOptions&) { f.progress.stopAt = 1; }, JobStatus::Stopped,
         FailureCode::None},
    };
    for (const Case& c : cases) {
        JobFixture f;
        SelectionOptions options;
        c.arrange(f, options);
        const Outcome<UncacheSummary> o = UncacheJob({f.settings, {nullptr, options}}, f.Use()).Run();
        EXPECT_EQ(o.status, c.status) << c.name;
        EXPECT_EQ(o.failure.code, c.code) << c.name;
        // Only a run that was let start makes the offline root.
        EXPECT_EQ(std::filesystem::exists(f.settings.OfflineDir), c.status == JobStatus::Completed) << c.name;
    }
}

TEST(UncacheJob, TheFailuresNameWhatIsWrong) {
    JobFixture f;
    f.settings.FatName = "GONE";
    const Outcome<UncacheSummary> missing = UncacheJob({f.settings, {}}, f.Use()).Run();
    EXPECT_EQ(missing.failure.path, f.settings.CacheDir + "GONE");
    JobFixture g;
    const Outcome<UncacheSummary> unknown = UncacheJob({g.settings, {nullptr, Domains({"x.example"})}}, g.Use()).Run();
    EXPECT_NE(unknown.failure.text.find("the domains there: a.example, z.example"), std::string::npos)
        << unknown.failure.text;
}

// A stop heard while the pages are copied: the run cleans up and says Stopped.
TEST(UncacheJob, AStopDuringTheRunEndsStopped) {
    JobFixture f;
    f.progress.stopAt = 6;  // past the read and the counts, inside the run
    const Outcome<UncacheSummary> o = UncacheJob({f.settings, {}}, f.Use()).Run();
    EXPECT_EQ(o.status, JobStatus::Stopped);
    // There was no copy before, and the new one went with the stop.
    EXPECT_FALSE(std::filesystem::exists(f.settings.OfflineDir));
    const std::string root = f.settings.OfflineDir.substr(0, f.settings.OfflineDir.size() - 1);
    EXPECT_FALSE(std::filesystem::exists(root + ".restash-new"));
}

// The window's choice (a selection it read and shaped, checked before the
// progress window opens) and the options' choice give one run, byte for byte;
// the window's run makes the program folder too.
TEST(UncacheJob, TheWindowsChoiceAndTheOptionsGiveTheSameRun) {
    JobFixture byOptions;
    byOptions.messages.Answer(Answer::No);
    ASSERT_EQ(UncacheJob({byOptions.settings, {nullptr, Domains({"A.EXAMPLE"})}}, byOptions.Use()).Run().status,
              JobStatus::Completed);

    JobFixture byWindow;
    CacheSelection state(byWindow.progress);
    const std::shared_ptr<const CacheSource> source = OpenCacheSource(byWindow.settings.CacheIndexPath());
    state.Reset(source->Traits(), byWindow.clock, byWindow.settings.GMT);
    state.Load(source);
    state.Mark(DomainList::Chosen, 1);  // z.example
    state.UnchooseMarked();
    UncacheJob job({byWindow.settings, {&state, {}}}, byWindow.Use());
    ASSERT_FALSE(job.Check().has_value());
    byWindow.messages.Answer(Answer::No);
    const Outcome<UncacheSummary> o = job.RunChecked();
    ASSERT_EQ(o.status, JobStatus::Completed);
    EXPECT_EQ(o.summary.pagesConverted, 2u);

    EXPECT_EQ(JobFixture::Tree(byWindow.settings.OfflineDir), JobFixture::Tree(byOptions.settings.OfflineDir));
    auto history = [](JobFixture& f) {
        std::string h = ReadBytes(f.settings.HistPath);
        for (std::size_t at; (at = h.find(f.dir.path())) != std::string::npos;) h.erase(at, f.dir.path().size());
        return h;
    };
    EXPECT_EQ(history(byWindow), history(byOptions));
}

TEST(ListJob, ListsEntriesOrChosenDomainsAndReportsAStopInTheReader) {
    JobFixture f;
    Outcome<ListSummary> o = ListJob({f.settings, false, std::nullopt}, f.Use()).Run();
    ASSERT_EQ(o.status, JobStatus::Completed);
    EXPECT_EQ(o.summary.entries.size(), 4u);
    EXPECT_EQ(o.summary.format, IndexFormat::TextIndex);

    RealFileSystem().Remove(f.settings.CacheDir + "Z1.HTM");
    o = ListJob({f.settings, true, std::nullopt}, f.Use()).Run();
    ASSERT_EQ(o.summary.entries.size(), 4u);
    EXPECT_FALSE(o.summary.entries[3].Body.Present);

    o = ListJob({f.settings, false, Domains({"a.example"})}, f.Use()).Run();
    ASSERT_EQ(o.summary.domains.size(), 1u);
    EXPECT_EQ(o.summary.domains[0].TextCount, 2u);

    f.progress.stopAt = f.progress.processCalls + 1;
    EXPECT_EQ(ListJob({f.settings, false, std::nullopt}, f.Use()).Run().status, JobStatus::Stopped);
    f.settings.FatName = "GONE";
    o = ListJob({f.settings, false, std::nullopt}, f.Use()).Run();
    EXPECT_EQ(o.status, JobStatus::Failed);
    EXPECT_EQ(o.failure.path, f.settings.CacheIndexPath());
}

TEST(DeleteJob, EndsCompletedNotConfirmedStoppedOrFailed) {
    JobFixture f;
    const Settings settings = f.settings;
    f.messages.Answer(Answer::No);
    EXPECT_EQ(DeleteJob({settings, {nullptr, Domains({"z.example"})}}, f.Use()).Run().failure.code,
              FailureCode::NotConfirmed);
    // A stop heard while the question was asked (Ctrl-C at the prompt).
    f.messages.Answer(Answer::Cancel);
    f.progress.stopAt = f.progress.processCalls + 4;  // the read and the counts come first
    EXPECT_EQ(DeleteJob({settings, {nullptr, Domains({"z.example"})}}, f.Use()).Run().status, JobStatus::Stopped);
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{kDeleteQuestion, kDeleteQuestion}));
    f.progress.stopAt = 0;

    f.messages.Answer(Answer::Yes);
    const Outcome<DeleteSummary> done = DeleteJob({settings, {nullptr, Domains({"z.example"})}}, f.Use()).Run();
    ASSERT_EQ(done.status, JobStatus::Completed);
    EXPECT_EQ(done.summary.entriesRemoved, 1u);
    EXPECT_FALSE(FileExists(settings.CacheDir + "Z1.HTM"));

    f.processes.running = true;
    EXPECT_EQ(DeleteJob({settings, {}}, f.Use()).Run().failure.code, FailureCode::BrowserRunning);
}

TEST(SearchJob, EndsCompletedStoppedOrFailed) {
    JobFixture f;
    EXPECT_EQ(SearchJob({f.settings.OfflineDir, "sprocket", {}}, f.Use()).Run().failure.code, FailureCode::NoPageList);
    f.messages.Answer(Answer::No);
    ASSERT_EQ(UncacheJob({f.settings, {}}, f.Use()).Run().status, JobStatus::Completed);

    Outcome<SearchSummary> o = SearchJob({f.settings.OfflineDir, "sprocket", {}}, f.Use()).Run();
    ASSERT_EQ(o.status, JobStatus::Completed);
    EXPECT_EQ(o.summary.pagesListed, 3u);
    ASSERT_EQ(o.summary.hits.size(), 1u);
    EXPECT_EQ(o.summary.hits[0].url, "http://a.example/b.html");

    f.progress.stopAt = f.progress.processCalls + 1;
    o = SearchJob({f.settings.OfflineDir, "zinc", {}}, f.Use()).Run();
    EXPECT_EQ(o.status, JobStatus::Stopped);
    EXPECT_TRUE(o.summary.searched);
    EXPECT_NE(ReadBytes(f.settings.OfflineDir + "RESULTS.RSH").find("Search Aborted"), std::string::npos);
}

TEST(ExportJob, EndsCompletedWithWhatItLeftOutStoppedOrFailed) {
    JobFixture f;
    RealFileSystem().Remove(f.settings.CacheDir + "A3.GIF");  // listed no more: the selection counts bodies there
    const std::string warc = f.dir / "out.warc.gz";
    Outcome<ExportSummary> o = ExportJob({f.settings, {}, warc, std::nullopt, std::nullopt, std::nullopt}, f.Use()).Run();
    ASSERT_EQ(o.status, JobStatus::Completed);
    EXPECT_EQ(o.summary.archived, 3u);
    EXPECT_TRUE(FileExists(warc));

    f.progress.stopAt = f.progress.processCalls + 6;  // inside the export's loop
    RealFileSystem().Remove(warc);
    f.progress.phases.clear();
    EXPECT_EQ(ExportJob({f.settings, {}, warc, std::nullopt, std::nullopt, std::nullopt}, f.Use()).Run().status, JobStatus::Stopped);
    EXPECT_EQ(f.progress.phases, std::vector<std::string>{"Writing Web Archive"});
    EXPECT_FALSE(FileExists(warc));
    f.progress.stopAt = 0;

    o = ExportJob({f.settings, {}, warc, std::nullopt, std::nullopt, f.dir / "list.txt"}, f.Use()).Run();
    EXPECT_EQ(o.status, JobStatus::Failed);
    EXPECT_EQ(o.failure.path, f.dir / "list.txt");
}

}  // namespace
}  // namespace restash::test
