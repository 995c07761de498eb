#pragma once
// What the link converter reads and writes of the run: the copied files, the
// local paths already written to the history, and the user's preferences.
// The run owns all of it and hands it in explicitly.
#include <string>

#include "core/offline/copied_files.h"

namespace restash {

class HistoryFile;

struct LinkContext {
    const CopiedFiles& files;
    HistoryPaths& historyPaths;
    bool historyValid = false;       // this run rewrites the history file
    HistoryFile* history = nullptr;  // the new history file, open for appending (may be null)
    std::string offlineURL;          // "file://" + the offline root: file:///home/u/OFFLINE/
    std::string runTimestamp;        // the run's time stamp in decimal
    bool notFoundURL = false;        // keep the absolute address of an uncached hyperlink
};

// Set by the converter for one tag; the page pass clears them before each tag.
struct TagFlags {
    bool linkAvailable = false;  // a HREF or CODE value now leads to a local copy
    bool appletTag = false;      // the tag is an APPLET: never emphasised
};

}  // namespace restash
