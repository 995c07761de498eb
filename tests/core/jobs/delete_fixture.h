#pragma once
// A cache folder, a program folder and a selection model opened on the cache,
// for the deletion tests.
#include <string>
#include <vector>

#include "core/jobs/delete_job.h"
#include "core/platform/error.h"
#include "core/cache/netscape_source.h"
#include "tests/core/jobs/job_fixture.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {

// Old enough for every "Newer than" choice to leave it out.
inline constexpr std::int32_t kOldStamp = 800000000;
inline constexpr std::int64_t kNowClock = 900000000;

inline NsObject Obj(std::string url, std::string file, std::string mime, std::int32_t stamp = kOldStamp + 1000) {
    NsObject o;
    o.url = std::move(url);
    o.fileName = std::move(file);
    o.mimeType = std::move(mime);
    o.lastAccessed = stamp;
    o.body = "body of " + o.fileName;
    return o;
}

// What a deletion gave, as the tests look at it.
struct Deleted {
    JobStatus status = JobStatus::Completed;
    bool deleted = false;  // the removal ran (Completed)
    std::uint64_t entriesRemoved = 0;
    std::uint64_t filesDeleted = 0;
    std::vector<std::string> failures;  // bodies that could not be removed: "path: problem"
    Failure failure;
};

// A real source whose read gives entries made by hand instead of its index.
class ListedCache final : public CacheSource {
public:
    ListedCache(CacheEntryList entries, std::shared_ptr<CacheSource> real)
        : entries_(std::move(entries)), real_(std::move(real)) {}
    const CacheTraits& Traits() const override { return real_->Traits(); }
    const std::string& Location() const override { return real_->Location(); }
    CacheRead Read(CacheEntryList& out, ProgressSink&, const ReadOptions&) const override {
        out = entries_;
        return {};
    }
    std::unique_ptr<BodyLookup> Bodies() const override { return real_->Bodies(); }
    Removal Remove(CacheEntryList& entries, const EntryFilter& chosen, const std::string& workFolder, FileSystem& fs,
                   ProgressSink& progress) const override {
        return real_->Remove(entries, chosen, workFolder, fs, progress);
    }
    void ClearLeftovers(const std::string& workFolder, FileSystem& fs) const override {
        real_->ClearLeftovers(workFolder, fs);
    }

private:
    CacheEntryList entries_;
    std::shared_ptr<CacheSource> real_;
};

struct DeleteFixture {
    TempDir dir;
    std::string cache = dir / "cache/";
    std::string home = dir / "home/";
    std::string fatName = "FAT";
    RecordingMessages messages;
    RecordingProgress progress;
    CacheSelection model{progress};
    StubProcesses processes;
    FixedClock clock{kNowClock};

    DeleteFixture() { RealFileSystem().CreateDirectories(home); }

    std::string IndexPath() const { return cache + fatName; }
    // The new text index, written beside the index.
    std::string TempFat() const { return IndexPath() + ".restash-new"; }
    std::shared_ptr<CacheSource> source;

    void Open(IndexFormat format) {
        source = OpenCacheSource(IndexPath());
        EXPECT_EQ(source->Traits().format, format);
        model.Reset(source->Traits(), FixedClock(kNowClock), 0);
        model.Load(source);
    }

    // A hash-index model loaded with entries made by hand: the index file
    // itself is never read (a list-only removal does not need it).
    void OpenHashEntries(const CacheEntryList& entries) {
        fatName = "FAT.DB";
        source = std::make_shared<NetscapeHashSource>(IndexPath());
        model.Reset(source->Traits(), FixedClock(kNowClock), 0);
        // Loaded the way a read fills the list, with the hash index's source
        // kept for the removal.
        model.Load(std::make_shared<ListedCache>(entries, source));
    }

    // Moves one domain to "Available Domains".
    void Unchoose(const std::string& domain) {
        for (std::size_t i = 0; i < model.Chosen().size(); ++i)
            model.Mark(DomainList::Chosen, i, model.Chosen().Name(i) == domain);
        model.UnchooseMarked();
    }

    Deleted Delete(FileSystem& fs = RealFileSystem()) {
        Settings settings;
        settings.CacheDir = cache;
        settings.FatName = fatName;
        settings.ProgramDir = home;
        DeleteJob job({settings, {&model, {}}},
                      Services{fs, progress, messages, clock, std::locale::classic(), processes});
        const Outcome<DeleteSummary> o = job.Run();
        Deleted d{o.status, o.status == JobStatus::Completed, o.summary.entriesRemoved, o.summary.bodiesRemoved, {},
                  o.failure};
        for (const LeftOut& l : o.leftOut) d.failures.push_back(l.detail);
        return d;
    }
};

// A file system that fails to remove one path, as a read-only file would.
class StubbornRemoveFileSystem final : public FileSystem {
public:
    explicit StubbornRemoveFileSystem(std::string keep) : keep_(std::move(keep)) {}
    std::unique_ptr<OutputFile> Create(const std::string& p) override { return RealFileSystem().Create(p); }
    std::unique_ptr<OutputFile> Append(const std::string& p) override { return RealFileSystem().Append(p); }
    void Rename(const std::string& f, const std::string& t) override { RealFileSystem().Rename(f, t); }
    void Remove(const std::string& p) override {
        if (p == keep_) throw FileError(p, "File access denied");
        RealFileSystem().Remove(p);
    }
    void CopyFile(const std::string& f, const std::string& t) override { RealFileSystem().CopyFile(f, t); }
    void CreateDirectories(const std::string& p) override { RealFileSystem().CreateDirectories(p); }
    void RemoveDirectory(const std::string& p) override { RealFileSystem().RemoveDirectory(p); }

private:
    std::string keep_;
};

}  // namespace restash::test
