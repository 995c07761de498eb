#pragma once
// What the index writers work from, passed in whole: the offline root, the
// chosen domains, the run's records of the copied files (the listed pages and
// the media) and the services they report through.
#include <locale>
#include <string>
#include <vector>

#include "core/index/home_pages.h"
#include "core/platform/clock.h"
#include "core/platform/file_system.h"
#include "core/platform/progress.h"
#include "core/offline/copied_files.h"

namespace restash {

struct IndexInputs {
    std::string offlineDir;            // the offline root, ending in "/"
    std::vector<std::string> domains;  // the chosen domains in list order; the index is the domain's number
    const CopiedFiles& files;          // the run's copied files: the listed pages and the media
    const Clock& clock;                // for the "Created on" date
    std::locale timeLocale;            // weekday and month names, time separator
    ProgressSink& progress;
    FileSystem& fs;
    HomePages homePages{};
};

}  // namespace restash
