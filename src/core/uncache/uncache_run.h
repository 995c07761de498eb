#pragma once
// The uncaching run: turns the selected cache entries into the offline copy.
// Phases: the history copy (text-form caches), creating the offline folders
// of the new copy, copying the selected cache files under their 8.3 names,
// converting the links of every copied page, replacing the history file and
// writing the index pages; then the question whether to view the index.
#include <cstdint>
#include <locale>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/cache/cache_entry.h"
#include "core/cache/cache_source.h"
#include "core/platform/clock.h"
#include "core/platform/file_system.h"
#include "core/platform/messages.h"
#include "core/platform/progress.h"
#include "core/selection/selection.h"

namespace restash {

// The services a run reports through and writes with.
struct RunServices {
    FileSystem& fs;
    ProgressSink& progress;
    Messages& messages;
    const Clock& clock;
    std::locale timeLocale;  // for the "Created on" date of the index pages
};

// A chosen entry whose body could not be read, left out of the copy.
struct CopyFailure {
    std::string url;
    std::string body;  // the body's label: a cache file's path
    std::string what;  // "path: problem"
};

struct RunOutcome {
    Ending ending = Ending::Finished;  // Stopped: the new copy was removed again; the previous one is as it was
    bool viewIndexRequested = false;   // the user asked to view the index and the program file exists
    bool historyMissing = false;       // the history file to rewrite was not there
    std::string historyNotUpdated;     // why the history was left as it was (empty: it was not)
    std::uint64_t filesCopied = 0;
    std::uint64_t pagesConverted = 0;
    std::vector<CopyFailure> copyFailures;
    std::vector<CopyFailure> bodiesGone;  // chosen bodies no longer there when their turn came (skipped)
    // Copied bodies whose content coding could not be undone: as stored, or
    // as far as they decode (what says which).
    std::vector<CopyFailure> undecoded;
};

// The phase texts shown above the gauge.
inline constexpr const char* kPhaseHistory = "Reading History File";
inline constexpr const char* kPhaseDirectories = "Creating/Emptying Directories";
inline constexpr const char* kPhaseCopying = "Copying Files";
inline constexpr const char* kPhaseConverting = "Converting Links";
inline constexpr const char* kPhaseIndex = "Creating Index Pages";
inline constexpr const char* kPhaseCleaning = "Cleaning Up";

inline constexpr const char* kUncachingComplete =
    "Uncaching complete.\rDo you wish to view the\rRestash index page?";
inline constexpr const char* kBadHistoryPath =
    "The path to the Netscape\rhistory file is invalid.\rFollowed links will not\rbe emphasised.\r\r"
    "Please locate the file\rusing 'Setup'.";
inline constexpr const char* kCouldNotOpenNetscape = "Could not open Netscape.\r\nPlease check your Restash Setup.";

// What the run may be told beyond the settings.
struct RunOptions {
    bool history = true;  // false: the history file is neither read nor written
};

// The warning about the bodies that could not be read: how many, and the
// first ten of them.
std::string CopyFailuresText(const std::vector<CopyFailure>& failures);
// The same for the bodies that could not be decoded.
std::string UndecodedText(const std::vector<CopyFailure>& bodies);

// The warning that the history was left as it was, naming it and why.
std::string HistoryNotUpdatedText(const std::string& histPath, const std::string& reason);

// Runs the whole uncaching run over entries (the cache entry list source
// read, in list order) for selection (whose Domains are in the order of the
// chosen list); the bodies are read through source. The new copy is built
// beside the offline root and put in its place once whole, index pages
// included; a stop removes it and leaves the root as it was. Input/output
// errors that end the run are thrown as FileError (a full disk says that the
// new copy does not fit beside the previous one); the offline root and the
// history file are then left as they were.
RunOutcome RunUncache(const Settings& settings, const CacheSource& source, const CacheEntryList& entries,
                      const Selection& selection, RunServices& services, const RunOptions& options = {});

}  // namespace restash
