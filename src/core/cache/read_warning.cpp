#include "core/cache/read_warning.h"

namespace restash {

std::string ReadWarning::Text() const {
    if (kind == ReadWarningKind::DamagedIndex)
        return file + " is damaged (" + what + "); " + std::to_string(entriesRead) +
               " entries could be read, some may be missing";
    return file + ": " + what;
}

}  // namespace restash
