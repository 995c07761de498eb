#include "core/platform/clock.h"

#include <ctime>

namespace restash {

std::int64_t SystemClock::Now() const { return static_cast<std::int64_t>(std::time(nullptr)); }

std::int64_t LocalOffset(std::int64_t utc) {
    std::time_t t = static_cast<std::time_t>(utc);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return 0;
    return static_cast<std::int64_t>(local.tm_gmtoff);
}

}  // namespace restash
