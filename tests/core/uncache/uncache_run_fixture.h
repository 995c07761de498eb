#pragma once
// A whole uncaching run over a real fixture cache: a program folder, a cache
// folder written by the fixture writers (or a bundled sample), a history
// file, the offline root, a fixed clock read in UTC and the "C" locale, so
// every byte the run writes is known in advance.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/cache/cache_entry.h"
#include "core/platform/clock.h"
#include "core/platform/file_system.h"
#include "core/selection/selection.h"
#include "core/uncache/uncache_run.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {

// Friday, January 3, 1997 14:05:00 UTC: the clock of every run here.
inline constexpr std::int64_t kRunClock = 852300300;
// The run's time stamp, written after each new history record.
inline constexpr std::int32_t kRunStamp = 852300000;

// A cache object with its file named like Netscape's ("M0000001.HTM" ...).
NsObject Object(const std::string& url, const std::string& mime, std::string body, std::int32_t stamp = 852000000);

// A progress sink that knows which phase each "process messages" point
// belongs to: it asks to stop from the n-th point of one phase on (1 is the
// point right after the phase text is shown), and can instead run an action
// there (to damage a cache file after the run has listed the folder).
class PhaseProgress final : public ProgressSink {
public:
    PhaseProgress(std::string phase, long nth) : phase_(std::move(phase)), nth_(nth) {}
    std::function<void()> action;  // when set, run once instead of stopping

    void Phase(std::string_view text) override;
    bool ProcessMessages() override;

    std::vector<std::string> phases;
    bool reached = false;  // the chosen point came

private:
    std::string phase_;
    long nth_;
    long inPhase_ = 0;
};

class RunFixture {
public:
    RunFixture();

    TempDir dir;
    Settings settings;
    FixedClock clock{kRunClock};
    RecordingProgress progress;
    RecordingMessages messages;
    std::shared_ptr<CacheSource> source;  // the cache read
    IndexFormat format = IndexFormat::HashIndex;
    CacheEntryList entries;
    Selection selection;

    // Writes the objects as a cache of that form into CACHE/, reads it back
    // into entries and selects every domain and every kind of file.
    void HashCache(const std::vector<NsObject>& objects);
    void TextCache(const std::vector<NsObject>& objects);
    // Reads an existing cache folder (a bundled sample) the same way.
    void UseCache(const std::string& cacheDir, const std::string& fatName);
    // Every domain of entries (in the chosen list's order), every category.
    void SelectAll();

    // Ten small pictures in ProgramDir under the support images' names,
    // each different from the others and from the bundled ones; put there
    // by the constructor, so a run never picks up the bundled ones.
    void InstallSupportImages();
    static std::string SupportImageBytes(int index);

    // Where the run reports; the recording one unless a test puts another.
    ProgressSink* sink = &progress;

    RunOutcome Run(FileSystem& fs = RealFileSystem());
    // Runs with the end question answered.
    RunOutcome RunAnswering(Answer answer, FileSystem& fs = RealFileSystem());

    std::string Offline(const std::string& relative) const { return settings.OfflineDir + relative; }
    std::string Read(const std::string& relative) const { return ReadBytes(Offline(relative)); }
    // Where the run builds the new copy before it takes the root's place.
    std::string Building(const std::string& relative) const {
        return settings.OfflineDir.substr(0, settings.OfflineDir.size() - 1) + ".restash-new/" + relative;
    }
};

// Every file under folder, by its path relative to folder ("MEDIA/X.GIF").
std::map<std::string, std::string> TreeOf(const std::string& folder);
// The names of the files directly in folder, sorted; empty when it is missing.
std::vector<std::string> FilesIn(const std::string& folder);

// tests/data/ + relative in the source tree.
std::string DataPath(const std::string& relative);

}  // namespace restash::test
