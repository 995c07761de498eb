#pragma once
// The locale that names weekdays and months and gives the time separator of
// the dates the program writes. Both front ends build it here, the same way.
#include <locale>

namespace restash {

// The user's LC_TIME locale (std::locale("") for time only, on the "C"
// locale), or the "C" locale when the environment names a locale this
// machine does not have.
std::locale UserTimeLocale();

}  // namespace restash
