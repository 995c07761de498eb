#pragma once
// The part of a cache a job works on. A window brings the selection it made
// over the cache it read; the command line brings options, and the job reads
// the cache and chooses with them through the operations the window uses. The
// run, the deletion and the export then work on one CacheSelection either way.
#include <memory>
#include <optional>

#include "core/app/settings.h"
#include "core/jobs/outcome.h"
#include "core/jobs/services.h"
#include "core/selection/cache_selection.h"
#include "core/selection/selection_options.h"

namespace restash {

struct SelectionRequest {
    // The selection a window made over a cache it read. A deletion changes
    // it (its lists are rebuilt); it must outlive the job.
    CacheSelection* chosen = nullptr;
    // Otherwise the options that choose from a fresh read of the cache.
    SelectionOptions options;
    // With options: also tell which entries of the chosen domains and dates
    // are left out by the choice itself (a missing or unsafely named body,
    // a kind not taken); the cache is read once more for them.
    bool listLeftOut = false;
};

// What a job does when a browser has the cache open.
enum class BrowserCheck {
    None,
    Refuse,  // the job would change the cache or build on it: BrowserRunning
    Warn,    // the job only reads: it warns that the cache may change meanwhile
};

// The checks a job makes before it reads a cache for options.
struct ReadChecks {
    BrowserCheck browser = BrowserCheck::None;
    bool cachePresent = false;          // a missing index is CacheMissing rather than a file error
    const char* nothingText = nullptr;  // when set, nothing chosen is NothingChosen with this text
    bool includeAbsent = false;         // the entries whose body is gone are read too (counted nowhere)
};

class ChosenPart {
public:
    ChosenPart(const SelectionRequest& request, Services& services);

    // The request's selection as it is, or the checks, the read of the cache
    // of settings and the choice the options make. Completed when the job may
    // go on; Stopped or Failed (see failure()) when it ends here. Throws what
    // the read and the options throw (Error).
    JobStatus Prepare(const Settings& settings, const ReadChecks& checks);
    const Failure& failure() const { return failure_; }
    // What the read of the cache warned of, and that a browser has it open
    // (none when the request brought its selection). Each was shown through
    // the messages as it came.
    const std::vector<Warning>& CacheWarnings() const { return cacheWarnings_; }

    // The entries the choice leaves out, when the request asks for them (see
    // SelectionRequest::listLeftOut); none otherwise.
    std::vector<LeftOut> LeftOutByChoice();
    // The NothingChosen failure with text, and the dates of the cache's entries.
    Failure NothingChosen(const char* text) const;

    // Whether there is a selection yet: the request's own, or one Prepare made.
    bool HasState() const { return state_ != nullptr; }
    CacheSelection& State() { return *state_; }

private:
    JobStatus Fail(FailureCode code, std::string text, std::string path = {});

    Services& services_;
    const SelectionRequest& request_;
    std::unique_ptr<CacheSelection> own_;
    CacheSelection* state_;
    Failure failure_;
    std::vector<Warning> cacheWarnings_;
};

// The failure an error makes: its text and, for a file error, the file.
Failure ErrorFailure(const std::exception& e);

// Shows each warning as a warning box and adds it to warnings.
void ShowWarnings(const Warnings& shown, Messages& messages, Warnings& warnings);

// When a browser has the cache index open: the warning a job that only
// reads gives (it has been shown).
std::optional<Warning> WarnIfBrowserReads(const Settings& settings, Services& services);

// The browser-running failure, with the desktop program's text.
Failure BrowserRunningFailure();

}  // namespace restash
