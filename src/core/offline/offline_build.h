#pragma once
// The new offline copy is built beside the old one and takes its place only
// once it is whole: the run writes into ROOT.restash-new/, then ROOT is
// renamed aside to ROOT.restash-old/, the new folder renamed to ROOT and the
// old one removed. Both lie in the folder that holds ROOT, on the same file
// system, so each step is one rename. A run that is stopped, fails or is
// killed before that leaves ROOT exactly as it was; what it left beside ROOT
// is cleared by the next run or search (RecoverOffline).
//
// Restash's own files go with the old copy; folders the user made in it (any
// but its TEMP folder) move into the new one, as an emptying run kept them.
#include <string>

#include "core/platform/file_system.h"

namespace restash {

class OfflineBuild {
public:
    // root: the offline root, ending in "/".
    OfflineBuild(FileSystem& fs, std::string root);
    // A build that was not committed is abandoned.
    ~OfflineBuild();
    OfflineBuild(const OfflineBuild&) = delete;
    OfflineBuild& operator=(const OfflineBuild&) = delete;

    // Clears what an earlier run left beside the root and makes the new
    // folder; returns it, ending in "/".
    const std::string& Start();
    const std::string& Folder() const { return folder_; }
    // Whether there is a previous copy the new one would replace.
    bool ReplacesCopy() const;

    // Puts the new copy in place of the old one. When the swap fails the
    // old copy is put back, the new folder removed and the FileError thrown.
    void Commit();
    // Removes the new folder and whatever is in it.
    void Abandon();

private:
    FileSystem& fs_;
    std::string root_;    // without its trailing "/"
    std::string folder_;  // the new folder, with it
    std::string aside_;   // where the old copy goes during the swap
    bool started_ = false;
    bool committed_ = false;
};

// Puts back a copy a killed swap left aside (when the root is missing), or
// carries the user's folders out of it and removes it (when the new copy
// took its place); removes a new copy a killed run left half-built.
void RecoverOffline(FileSystem& fs, const std::string& root);

// Removes folder and everything below it through fs; symbolic links are
// removed, never followed. A folder that is missing is no error.
void RemoveTree(FileSystem& fs, const std::string& folder);

}  // namespace restash
