#include "core/platform/time_locale.h"

#include <stdexcept>

namespace restash {

std::locale UserTimeLocale() {
    try {
        return std::locale(std::locale::classic(), std::locale(""), std::locale::time);
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

}  // namespace restash
