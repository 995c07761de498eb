#pragma once
// The offline folder tree: the root (converted pages and text files), MEDIA
// (images, sound, video and the support images), OTHERS (every other file)
// and TEMP (only during a run).
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/offline/offline_names.h"
#include "core/platform/file_system.h"

namespace restash {

// Creates folder (and its parents) when missing and deletes every file in it,
// but no subfolder. A file that cannot be deleted stays, without an error.
void CreateAndEmpty(FileSystem& fs, const std::string& folder);

// Deletes every file of folder (no subfolders) when the folder exists.
void DeleteFiles(FileSystem& fs, const std::string& folder);

// The names of the files in folder, upper-cased: what the copying phase may
// not overwrite.
std::unordered_set<std::string> TakenNames(const std::string& folder);

bool PathExists(const std::string& path);

}  // namespace restash
