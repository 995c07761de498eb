#pragma once
// A warning any part of the program may give while it works on: a code each
// front end can word its own way, and the program's own text for it.
#include <string>

namespace restash {

enum class WarningCode {
    HistoryMissing,     // the history file is not there: followed links are not marked
    BodiesUnreadable,   // chosen bodies could not be read and were left out
    BodiesNotRemoved,   // chosen bodies could not be removed from the cache
    BodiesNotArchived,  // chosen entries could not be archived
};

struct Warning {
    WarningCode code;
    std::string text;
};

}  // namespace restash
