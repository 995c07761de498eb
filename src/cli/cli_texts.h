#pragma once
// The command line's own words, where it says more than the jobs' texts or
// where a job ends without a text of its own.

namespace restash::cli {

inline constexpr const char* kCacheIndexNotFound = "Cache index not found: ";
inline constexpr const char* kNothingDeleted = "Nothing was deleted.";
inline constexpr const char* kUncachingStopped = "Uncaching stopped. The copies made so far were removed.";
inline constexpr const char* kExportStopped = "Export stopped. No file was written.";
inline constexpr const char* kSearchStopped = "Search stopped; the results page lists the pages found so far.";

}  // namespace restash::cli
