#include "core/platform/warning.h"

namespace restash {

Warning FileWarning(WarningCode code, const std::string& file, const std::string& what) {
    return {code, file + ": " + what, file};
}

Warning DamagedIndexWarning(const std::string& file, const std::string& what, std::size_t entriesRead) {
    return {WarningCode::IndexDamaged,
            file + " is damaged (" + what + "); " + std::to_string(entriesRead) +
                " entries could be read, some may be missing",
            file};
}

}  // namespace restash
