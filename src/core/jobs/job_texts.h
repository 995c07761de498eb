#pragma once
// The texts the jobs give for why they could not work, in the desktop
// program's words; a front end may word the failure codes its own way.
namespace restash {

inline constexpr const char* kCachePathInvalid =
    "The path to the Netscape\rcache directory is invalid.\r\rPlease locate the directory\rusing 'Setup'.";
inline constexpr const char* kCreateIndexFirst = "Use 'Vivov Evizuviv' to create an index.";
inline constexpr const char* kNoFilesToUncache = "No Files To Uncache.";
inline constexpr const char* kNoFilesToDelete = "No Files To Delete.";
inline constexpr const char* kNoFilesToExport = "No Files To Export.";

// Help topic of the "No Files To ..." boxes.
inline constexpr int kNoFilesHelpTopic = 11;

}  // namespace restash
