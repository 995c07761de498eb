#pragma once
// What every job works with: the file system it writes through, the progress
// sink it reports to (and hears stop requests from), the message boxes it
// asks and tells through, the clock, the locale of the dates it writes, and
// the process table it asks whether the browser runs. The front ends fill one
// Services each, the same way: the time locale from UserTimeLocale().
#include <locale>

#include "core/app/process_table.h"
#include "core/platform/clock.h"
#include "core/platform/file_system.h"
#include "core/platform/messages.h"
#include "core/platform/progress.h"

namespace restash {

struct Services {
    FileSystem& fs;
    ProgressSink& progress;
    Messages& messages;
    const Clock& clock;
    std::locale timeLocale;
    ProcessTable& processes;
};

}  // namespace restash
