#pragma once
// A cache folder, a program folder and a selection model opened on the cache,
// for the deletion tests.
#include <string>
#include <vector>

#include "core/selection/delete_selection.h"
#include "core/platform/error.h"
#include "core/cache/netscape_source.h"
#include "core/selection/cache_index_loader.h"
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

struct DeleteFixture {
    TempDir dir;
    std::string cache = dir / "cache/";
    std::string home = dir / "home/";
    std::string fatName = "FAT";
    RecordingMessages messages;
    RecordingProgress progress;
    SelectionModel model{messages, progress};

    DeleteFixture() { RealFileSystem().CreateDirectories(home); }

    std::string IndexPath() const { return cache + fatName; }
    std::string TempFat() const { return home + "TEMP.FAT"; }
    std::shared_ptr<CacheSource> source;

    void Open(IndexFormat format) {
        source = OpenCacheSource(IndexPath());
        EXPECT_EQ(source->Traits().format, format);
        model.FormShow(format, FixedClock(kNowClock), 0);
        bool pending = true;
        model.FormPaint(pending, CacheIndexLoader(source, progress));
    }

    // A hash-index model loaded with entries made by hand: the index file
    // itself is never read (a list-only removal does not need it).
    void OpenHashEntries(const CacheEntryList& entries) {
        fatName = "FAT.DB";
        source = std::make_shared<NetscapeHashSource>(IndexPath());
        model.FormShow(IndexFormat::HashIndex, FixedClock(kNowClock), 0);
        bool pending = true;
        model.FormPaint(pending, [entries](CacheEntryList& out) { out = entries; });
    }

    // Moves one domain to "Available Domains".
    void Unchoose(const std::string& domain) {
        for (std::size_t i = 0; i < model.DstList().size(); ++i)
            model.SelectItem(ListId::Dst, i, model.DstList().Name(i) == domain);
        model.ExcludeBtnClick();
    }

    DeleteSummary Delete(FileSystem& fs = RealFileSystem()) {
        return DeleteSelection(model, *source, home, fs, [] { return false; });
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
