#pragma once
// What a job returns, whichever job it is: how it ended (Completed, Stopped
// when the progress sink said to stop wherever the job was, Failed when it
// could not do its work), its own summary, its warnings and the chosen
// entries it left out, each with a code a front end can word and the core's
// own text.
#include <optional>
#include <string>
#include <vector>

#include "core/platform/warning.h"
#include "core/selection/date_window.h"

namespace restash {

enum class JobStatus { Completed, Stopped, Failed };

// Why a job did not do its work.
enum class FailureCode {
    None,
    BrowserRunning,  // the browser runs: its files are neither read nor changed
    CacheMissing,    // the cache index is not there
    NothingChosen,   // the selection holds no file
    NotConfirmed,    // the user did not say Yes
    NoPageList,      // no uncaching run has left a page list to search
    Overlap,         // an output would be written into the cache read (the text names both)
    InUse,           // another process is writing in the offline folder
    Error,           // an input/output or format error (the text names the file)
};

struct Failure {
    FailureCode code = FailureCode::None;
    std::string text;  // the core's text for it
    std::string path;  // the file it concerns, when there is one
    // NothingChosen: the first and last time stamps of the cache's entries
    // (nothing when the cache has none).
    std::optional<StampRange> entryDates = std::nullopt;
};

enum class LeftOutReason {
    BodyMissing,     // the body is not in the cache
    BodyUnreadable,  // the body could not be read
    NoAddress,       // the index gives no address for the entry
    NotRemovable,    // the body could not be removed
    UnsafeName,      // the index names the body outside the cache
    TypeNotChosen,   // of a kind the selection does not take
};

// A chosen entry the job did not carry through.
struct LeftOut {
    std::string url;
    std::string body;    // how the source names the body: a cache file's path
    LeftOutReason reason;
    std::string detail;  // "path: problem"
};

template <typename Summary>
struct Outcome {
    JobStatus status = JobStatus::Completed;
    Summary summary{};
    std::vector<Warning> warnings;
    std::vector<LeftOut> leftOut;
    Failure failure;  // when Failed

    static Outcome Failed(Failure why) {
        Outcome o;
        o.status = JobStatus::Failed;
        o.failure = std::move(why);
        return o;
    }
    static Outcome Stopped() {
        Outcome o;
        o.status = JobStatus::Stopped;
        return o;
    }
};

}  // namespace restash
