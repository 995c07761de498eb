#include "core/app/version.h"

namespace restash {

const char* ProgramVersion() { return RESTASH_VERSION; }

}  // namespace restash
