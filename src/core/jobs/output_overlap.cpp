#include "core/jobs/output_overlap.h"

#include <filesystem>

#include "core/platform/paths.h"

namespace restash {
namespace {

constexpr const char* kNotIntoTheCache = ": Restash does not write into the cache it reads";

Failure Overlap(std::string text) { return {FailureCode::Overlap, std::move(text), {}}; }

// The folder whose files a cache named by path keeps: the folder of an
// index file, or the folder itself.
std::string CacheFolderOf(const std::string& index) {
    std::error_code ec;
    if (std::filesystem::is_directory(index, ec)) return index;
    return RealPath(DirPart(AbsolutePath(index)));
}

std::optional<Failure> CheckOutput(const std::string& output, const std::string& index, const std::string& folder) {
    const std::string real = RealPath(output);
    if (real == index) return Overlap(real + " is the cache index " + index + kNotIntoTheCache);
    if (IsWithin(real, folder)) return Overlap(real + " lies in the cache folder " + folder + kNotIntoTheCache);
    return std::nullopt;
}

}  // namespace

std::optional<Failure> CheckOutputsApart(const JobPaths& paths) {
    const std::string index = RealPath(paths.cacheIndex);
    const std::string folder = paths.cacheIndex.empty() ? "" : CacheFolderOf(paths.cacheIndex);
    const std::string root = RealPath(paths.offlineRoot);
    const std::string history = RealPath(paths.history);
    if (!history.empty() && history == index)
        return Overlap("The history file " + history + " is the cache index " + index + kNotIntoTheCache);
    if (!history.empty() && !root.empty() && IsWithin(history, root))
        return Overlap("The history file " + history + " lies in the offline copy " + root +
                       ", which every run replaces");
    if (!root.empty() && !folder.empty() && (IsWithin(root, folder) || IsWithin(folder, root)))
        return Overlap("The offline copy " + root + " and the cache folder " + folder + " lie one inside the other" +
                       kNotIntoTheCache);
    if (index.empty()) return std::nullopt;
    for (const std::string& output : paths.outputs)
        if (auto failure = CheckOutput(output, index, folder)) return failure;
    return std::nullopt;
}

JobPaths UncachePaths(const Settings& settings, bool history) {
    JobPaths paths;
    paths.cacheIndex = settings.CacheIndexPath();
    paths.offlineRoot = settings.OfflineDir;
    if (history) paths.history = settings.HistPath;
    return paths;
}

}  // namespace restash
