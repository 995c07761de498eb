#pragma once
// A warning any part of the program may give while it works on: a code each
// front end can word its own way, the program's own text for it and the file
// it concerns. The readers of a cache, the run, the export and the jobs all
// give this one type; it travels up to the jobs' outcomes as it is.
#include <cstddef>
#include <string>
#include <vector>

namespace restash {

enum class WarningCode {
    IndexDamaged,       // the cache's index is damaged; its entries were read as far as they could be
    EntryDamaged,       // an entry of the cache could not be read and was passed over
    BodyMissing,        // an entry's body is not where its record says
    PartUnsupported,    // a part of the cache the reader does not understand
    BrowserRunning,     // a browser has the cache index open: what is read may change meanwhile
    HistoryMissing,     // the history file is not there: followed links are not marked
    HistoryNotUpdated,  // the history file could not be read or replaced; it was left as it was
    BodiesUnreadable,   // chosen bodies could not be read and were left out
    BodiesNotDecoded,   // copied bodies could not be decoded from their content coding
    BodiesNotRemoved,   // chosen bodies could not be removed from the cache
    BodiesNotArchived,  // chosen entries could not be archived
};

struct Warning {
    WarningCode code = WarningCode::EntryDamaged;
    std::string text;  // the whole text, as the program shows it
    std::string file;  // the file it concerns, when there is one
};

using Warnings = std::vector<Warning>;

// A warning about one file: "FILE: WHAT".
Warning FileWarning(WarningCode code, const std::string& file, const std::string& what);

// An index read as far as it could be: "FILE is damaged (WHAT); N entries
// could be read, some may be missing".
Warning DamagedIndexWarning(const std::string& file, const std::string& what, std::size_t entriesRead);

}  // namespace restash
