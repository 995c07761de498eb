#include "core/offline/offline_build.h"

#include <filesystem>
#include <vector>

#include "core/offline/offline_names.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {
namespace {

namespace fs = std::filesystem;

std::string WithoutSeparator(std::string path) {
    while (path.size() > 1 && path.back() == kSeparator) path.pop_back();
    return path;
}

std::string NewFolderOf(const std::string& root) { return TemporaryNameFor(root); }
std::string AsideOf(const std::string& root) { return root + ".restash-old"; }

bool IsRealFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(path, ec));
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Moves the folders of from that to does not have into to, and looks into
// the ones both have; files stay behind.
void CarryFolders(FileSystem& files, const fs::path& from, const fs::path& to, bool top) {
    std::vector<fs::path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        if (IsRealFolder(it->path())) folders.push_back(it->path());
    for (const fs::path& folder : folders) {
        const std::string name = folder.filename().string();
        // The unconverted pages of an older run's TEMP folder are its own.
        if (top && EqualsNoCase(name, WithoutSeparator(kTempFolder))) continue;
        const fs::path target = to / name;
        if (!Exists(target))
            files.Rename(folder.string(), target.string());
        else if (IsRealFolder(target))
            CarryFolders(files, folder, target, false);
    }
}

// The old copy's user folders go to root; then the old copy goes.
void ClearAside(FileSystem& files, const std::string& root, const std::string& aside) {
    CarryFolders(files, aside, root, true);
    RemoveTree(files, aside);
}

}  // namespace

void RemoveTree(FileSystem& files, const std::string& folder) {
    std::error_code ec;
    if (!Exists(folder)) return;
    if (!IsRealFolder(folder)) return files.Remove(folder);
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
    for (const fs::path& entry : entries) {
        if (IsRealFolder(entry))
            RemoveTree(files, entry.string());
        else
            files.Remove(entry.string());
    }
    files.RemoveDirectory(folder);
}

void RecoverOffline(FileSystem& files, const std::string& rootPath) {
    const std::string root = WithoutSeparator(rootPath);
    const std::string aside = AsideOf(root);
    if (IsRealFolder(aside)) {
        if (!Exists(root))
            files.Rename(aside, root);
        else
            ClearAside(files, root, aside);
    }
    RemoveTree(files, NewFolderOf(root));
}

OfflineBuild::OfflineBuild(FileSystem& files, std::string root)
    : fs_(files), root_(WithoutSeparator(std::move(root))), folder_(NewFolderOf(root_) + kSeparator),
      aside_(AsideOf(root_)) {}

OfflineBuild::~OfflineBuild() {
    if (!started_ || committed_) return;
    try {
        Abandon();
    } catch (...) {
        // What is left beside the root is cleared by the next run.
    }
}

const std::string& OfflineBuild::Start() {
    RecoverOffline(fs_, root_);
    fs_.CreateDirectories(folder_);
    started_ = true;
    return folder_;
}

bool OfflineBuild::ReplacesCopy() const { return Exists(root_); }

void OfflineBuild::Commit() {
    const std::string built = WithoutSeparator(folder_);
    const bool old = ReplacesCopy();
    if (old) fs_.Rename(root_, aside_);
    try {
        fs_.Rename(built, root_);
    } catch (...) {
        if (old) fs_.Rename(aside_, root_);
        throw;
    }
    committed_ = true;
    if (!old) return;
    try {
        ClearAside(fs_, root_, aside_);
    } catch (const Error&) {
        // The new copy is in place; the next run clears the old one.
    }
}

void OfflineBuild::Abandon() {
    RemoveTree(fs_, WithoutSeparator(folder_));
    started_ = false;
}

}  // namespace restash
