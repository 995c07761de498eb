#include "cli/words.h"

#include <utility>

#include "cli/locale_text.h"
#include "core/cache/cache_source.h"
#include "core/export/export_archive.h"
#include "core/jobs/delete_job.h"
#include "core/jobs/search_job.h"
#include "core/uncache/uncache_run.h"

namespace restash::cli {
namespace {

// The details of the entries left out for one reason: the first few.
std::string Details(const std::vector<LeftOut>& leftOut, LeftOutReason reason, std::size_t& count) {
    constexpr std::size_t kShown = 5;
    std::string text;
    count = 0;
    for (const LeftOut& l : leftOut) {
        if (l.reason != reason) continue;
        if (++count <= kShown) text += "\n  " + ToTerminal(l.detail.empty() ? l.body : l.detail);
    }
    if (count > kShown) text += "\n  ... (" + std::to_string(count - kShown) + " more)";
    return text;
}

// A core text as part of a sentence: its first letter small, unless the
// first word is a name in capitals ("OFFLINE").
std::string LowerFirst(std::string text) {
    if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && !(text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string ZoneName(std::int32_t gmtHours) {
    if (gmtHours == 0) return "UTC";
    return std::string("UTC") + (gmtHours > 0 ? "+" : "") + std::to_string(gmtHours);
}

}  // namespace

std::string Count(std::uint64_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string CacheDatesText(const std::optional<StampRange>& dates, std::int32_t gmtHours) {
    if (!dates) return "the cache has no entries";
    return "the cache's entries date " + DateRangeText(*dates, gmtHours) + " (" + ZoneName(gmtHours) + ")";
}

std::string FailureText(const Failure& failure, const Settings& settings, std::string_view work) {
    switch (failure.code) {
        case FailureCode::BrowserRunning:
            return "the browser (" + settings.NetscapeExe + ") is running and may change the cache; quit it first";
        case FailureCode::CacheMissing:
            return "no cache index at " + failure.path + "; name it with --cache FILE";
        case FailureCode::NothingChosen:
            return "nothing to " + std::string(work) + ": no file of the cache matches the selection; " +
                   CacheDatesText(failure.entryDates, settings.GMT);
        case FailureCode::NotConfirmed: return "nothing deleted";
        case FailureCode::NoPageList:
            return "no offline copy to search: " + failure.path + " is missing; 'restash-cli uncache' makes one";
        case FailureCode::Overlap:
            // The core names both paths; the command line says it as a refusal.
            return "refused: " + LowerFirst(MixedToTerminal(failure.text));
        case FailureCode::InUse:
            return MixedToTerminal(failure.text) + "; wait for that run to end, or choose another folder with --offline";
        case FailureCode::Error:
        case FailureCode::None: break;
    }
    return MixedToTerminal(failure.text);
}

std::string WarningText(const Warning& warning, const std::vector<LeftOut>& leftOut, const Settings& settings) {
    std::size_t n = 0;
    switch (warning.code) {
        case WarningCode::HistoryMissing:
            return "no history file at " + settings.HistPath +
                   ": links to pages already visited are not marked (name it with --history FILE)";
        case WarningCode::BodiesUnreadable: {
            const std::string details = Details(leftOut, LeftOutReason::BodyUnreadable, n);
            return Count(n, "cache file", "cache files") + " could not be read and " + (n == 1 ? "was" : "were") +
                   " left out:" + details;
        }
        case WarningCode::BodiesNotRemoved: {
            const std::string details = Details(leftOut, LeftOutReason::NotRemovable, n);
            return "could not delete " + Count(n, "cache file", "cache files") + ":" + details;
        }
        case WarningCode::BodiesNotArchived: return "not archived: " + ToTerminal(warning.text);
        case WarningCode::BrowserRunning:
            return MixedToTerminal(warning.text);  // names the index and the process
        case WarningCode::HistoryNotUpdated:
            return LowerFirst(MixedToTerminal(warning.text));  // names the file and why
        case WarningCode::BodiesNotDecoded:  // names each file and what was kept of it
        case WarningCode::IndexDamaged:
        case WarningCode::EntryDamaged:
        case WarningCode::BodyMissing:
        case WarningCode::PartUnsupported: break;
    }
    // The readers' own texts name the file and what is wrong with it.
    return ToTerminal(warning.text);
}

const char* WarningCodeName(WarningCode code) {
    switch (code) {
        case WarningCode::IndexDamaged: return "index-damaged";
        case WarningCode::EntryDamaged: return "entry-damaged";
        case WarningCode::BodyMissing: return "body-missing";
        case WarningCode::PartUnsupported: return "part-unsupported";
        case WarningCode::HistoryMissing: return "history-missing";
        case WarningCode::BrowserRunning: return "browser-running";
        case WarningCode::HistoryNotUpdated: return "history-not-updated";
        case WarningCode::BodiesUnreadable: return "bodies-unreadable";
        case WarningCode::BodiesNotRemoved: return "bodies-not-removed";
        case WarningCode::BodiesNotArchived: return "bodies-not-archived";
        case WarningCode::BodiesNotDecoded: return "bodies-not-decoded";
    }
    return "warning";
}

const char* FailureCodeName(FailureCode code) {
    switch (code) {
        case FailureCode::None: return "none";
        case FailureCode::BrowserRunning: return "browser-running";
        case FailureCode::CacheMissing: return "cache-missing";
        case FailureCode::NothingChosen: return "nothing-chosen";
        case FailureCode::NotConfirmed: return "not-confirmed";
        case FailureCode::NoPageList: return "no-page-list";
        case FailureCode::Overlap: return "overlap";
        case FailureCode::InUse: return "in-use";
        case FailureCode::Error: return "error";
    }
    return "error";
}

const char* ReasonText(LeftOutReason reason) {
    switch (reason) {
        case LeftOutReason::BodyMissing: return "file missing";
        case LeftOutReason::BodyUnreadable: return "unreadable";
        case LeftOutReason::NoAddress: return "no address";
        case LeftOutReason::NotRemovable: return "not removable";
        case LeftOutReason::UnsafeName: return "unsafe name";
        case LeftOutReason::TypeNotChosen: return "not selected by type";
    }
    return "left out";
}

std::string_view PhaseWords(std::string_view corePhase) {
    static const std::pair<std::string_view, std::string_view> kWords[] = {
        {kReadingCaption, "reading the cache index"},
        {kDeletingCaption, "deleting"},
        {kPhaseHistory, "reading the history file"},
        {kPhaseDirectories, "emptying the offline folder"},
        {kPhaseCopying, "copying"},
        {kPhaseConverting, "converting links"},
        {kPhaseIndex, "writing the index pages"},
        {kPhaseCleaning, "removing the copies"},
        {kPhaseSearching, "searching"},
        {kPhaseExporting, "writing the archive"},
    };
    for (const auto& [core, words] : kWords)
        if (core == corePhase) return words;
    return corePhase;
}

}  // namespace restash::cli
