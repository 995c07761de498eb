#pragma once
// A warning any part of the program may give while it works on: a code each
// front end can word its own way, and the program's own text for it.
#include <string>

namespace restash {

enum class WarningCode {
    IndexDamaged,       // the cache's index is damaged; its entries were read as far as they could be
    EntryDamaged,       // an entry of the cache could not be read and was passed over
    BodyMissing,        // an entry's body is not where its record says
    PartUnsupported,    // a part of the cache the reader does not understand
    HistoryMissing,     // the history file is not there: followed links are not marked
    BodiesUnreadable,   // chosen bodies could not be read and were left out
    BodiesNotDecoded,   // copied bodies could not be decoded from their content coding
    BodiesNotRemoved,   // chosen bodies could not be removed from the cache
    BodiesNotArchived,  // chosen entries could not be archived
};

struct Warning {
    WarningCode code;
    std::string text;
};

}  // namespace restash
