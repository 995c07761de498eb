#pragma once
// Deleting the selected part of a cache: the bodies of every selected entry
// and, where the format keeps an index of them, their records in the index.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/cache/cache_source.h"
#include "core/platform/file_system.h"
#include "core/platform/messages.h"
#include "core/selection/cache_selection.h"

namespace restash {

// Answers true when Netscape is running, after telling the user so.
using RunningCheck = std::function<bool()>;

// Help topic of the "No Files To ..." boxes.
inline constexpr int kNoFilesHelpTopic = 11;

inline constexpr const char* kDeletingCaption = "Deleting Selection From Fat...";
inline constexpr const char* kNoFilesToDelete = "No Files To Delete.";
inline constexpr const char* kDeleteQuestion =
    "Are you sure you want to delete this\r\nselection from Netscape's cache?\r\n";
inline constexpr const char* kDeleteWholeCacheQuestion =
    "Are you sure you want to delete this\r\nselection from Netscape's cache?\r\n\r\n\r\n"
    "WARNING : This selection will delete\r\nthe entire cache. Continue?";

struct DeleteSummary {
    bool deleted = false;              // the deletion ran (false: Netscape runs, nothing to delete, not confirmed, stopped)
    bool stopped = false;              // the user asked to stop before anything changed
    std::uint64_t entriesRemoved = 0;  // entries (hash index) or index lines (text index) removed
    std::uint64_t filesDeleted = 0;    // cache files removed from the folder
    std::vector<std::string> failures; // cache files that could not be removed, with the reason
};

// The Delete button of the selection window, for the current choice over
// the cache the selection read. Asks Netscape-running first (netscapeRunning
// shows its own message), confirms through messages, removes through fs (a
// rewritten index goes through programDir) and ends with the lists rebuilt.
// An error (thrown as FileError, naming the file) leaves the index and every
// cache file as they were.
DeleteSummary DeleteSelection(CacheSelection& selection, Messages& messages, const std::string& programDir,
                              FileSystem& fs, const RunningCheck& netscapeRunning);

}  // namespace restash
