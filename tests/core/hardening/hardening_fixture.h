#pragma once
// What the fault-injection and containment tests share: a snapshot of a
// folder tree to compare before and after, and a small text-form cache with
// a history file, settings and an offline root, ready for a run.
#include <cstdint>
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

// Every file below folder, relative path -> bytes; a symbolic link is
// recorded as "-> target" and not followed.
using Tree = std::map<std::string, std::string>;
Tree Snapshot(const std::string& folder);

// The files of a tree whose name ends in suffix.
std::vector<std::string> NamesEndingIn(const Tree& tree, const std::string& suffix);

// A text-form cache of two linked pages, a picture, a text file and an
// archive, with a history file; the offline root lies in its own folder.
struct RunFixture {
    TempDir dir;
    Settings settings;
    CacheEntryList entries;
    Selection selection;
    RecordingMessages messages;
    RecordingProgress progress;
    FixedClock clock{900000000};
    std::vector<NsObject> objects;

    static constexpr const char* kHistory = "http://www.example.com/\r\r\nfile:///old/OFFLINE/X.HTM\r\r\n";

    RunFixture();
    // Reads the cache index into entries and chooses every domain.
    void ReadIndex();
    // Runs the uncaching through fs, answering No to viewing the index.
    RunOutcome Run(FileSystem& fs);
    std::string HistoryBytes() const { return ReadBytes(settings.HistPath); }
};

}  // namespace restash::test
