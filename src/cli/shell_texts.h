#pragma once
// Texts of the main window's commands that the command line shows too.

namespace restash::cli {

inline constexpr const char* kCachePathInvalid =
    "The path to the Netscape\rcache directory is invalid.\r\rPlease locate the directory\rusing 'Setup'.";
inline constexpr const char* kCreateIndexFirst = "Use 'Vivov Evizuviv' to create an index.";

}  // namespace restash::cli
