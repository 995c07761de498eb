#pragma once
// A job's failure as the desktop program shows it: the box, the buttons and
// the help topic each kind of failure gets.
#include "core/jobs/outcome.h"
#include "core/platform/messages.h"

namespace restash {

// Nothing is shown for a question the user answered No.
void ShowFailure(Messages& messages, const Failure& failure);

// What a read of the cache warned of (a damaged index, skipped lines), in
// one warning box; nothing when there is nothing.
void ShowReadWarnings(Messages& messages, const Warnings& warnings);

}  // namespace restash
