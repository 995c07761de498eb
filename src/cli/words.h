#pragma once
// The command line's own words for what the jobs report by code: why a job
// could not work, what it warns of, why an entry was left out, and the
// phases of the progress line. The core's texts are the desktop program's;
// none of them is printed here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/settings.h"
#include "core/jobs/outcome.h"

namespace restash::cli {

// "1 file", "2 files".
std::string Count(std::uint64_t n, std::string_view one, std::string_view many);

// Why a job did not work. work names what it would have done ("uncache",
// "delete", "export") for the case of a selection that holds nothing.
std::string FailureText(const Failure& failure, const Settings& settings, std::string_view work);

// One warning, worded for the terminal. leftOut gives the entries a warning
// about unreadable, unremovable or unarchived files stands for.
std::string WarningText(const Warning& warning, const std::vector<LeftOut>& leftOut, const Settings& settings);

// What a warning or failure code is called in reports: "history-missing" ...
const char* WarningCodeName(WarningCode code);
const char* FailureCodeName(FailureCode code);

// Why an entry was left out: "file missing", "unreadable", "unsafe name",
// "not selected by type" ...
const char* ReasonText(LeftOutReason reason);

// The terminal's words for a phase the core names.
std::string_view PhaseWords(std::string_view corePhase);

// "the cache's entries date from 1996-10-10 to 1997-06-02 (UTC+2)", for a
// choice that found nothing.
std::string CacheDatesText(const std::optional<StampRange>& dates, std::int32_t gmtHours);

}  // namespace restash::cli
