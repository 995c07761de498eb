#include "core/jobs/chosen_part.h"

#include "core/app/browser_bridge.h"
#include "core/cache/cache_folder.h"
#include "core/jobs/job_texts.h"
#include "core/offline/offline_lock.h"
#include "core/platform/error.h"

namespace restash {

ChosenPart::ChosenPart(const SelectionRequest& request, Services& services)
    : services_(services), request_(request), state_(request.chosen) {}

JobStatus ChosenPart::Fail(FailureCode code, std::string text, std::string path) {
    failure_ = {code, std::move(text), std::move(path)};
    return JobStatus::Failed;
}

JobStatus ChosenPart::Prepare(const Settings& settings, const ReadChecks& checks) {
    if (state_) return JobStatus::Completed;
    if (checks.browser == BrowserCheck::Refuse && NetscapeRuns(settings, services_.processes)) {
        failure_ = BrowserRunningFailure();
        return JobStatus::Failed;
    }
    const std::string index = settings.CacheIndexPath();
    if (checks.cachePresent && !CacheIsThere(index)) return Fail(FailureCode::CacheMissing, kCachePathInvalid, index);
    std::shared_ptr<const CacheSource> source = OpenCacheSource(index);
    if (checks.browser == BrowserCheck::Warn)
        if (auto warning = WarnIfBrowserReads(settings, services_)) cacheWarnings_.push_back(*warning);

    own_ = std::make_unique<CacheSelection>(services_.progress);
    state_ = own_.get();
    state_->Reset(source->Traits(), services_.clock, settings.GMT);
    const CacheRead read = state_->Load(std::move(source), {checks.includeAbsent});
    ShowWarnings(read.warnings, services_.messages, cacheWarnings_);
    if (read.ending == Ending::Stopped) return JobStatus::Stopped;
    ApplySelectionOptions(*state_, request_.options);
    if (checks.nothingText && !state_->HasSomethingChosen()) {
        failure_ = NothingChosen(checks.nothingText);
        return JobStatus::Failed;
    }
    return JobStatus::Completed;
}

Failure ChosenPart::NothingChosen(const char* text) const {
    Failure f{FailureCode::NothingChosen, text, {}};
    if (state_) f.entryDates = EntryDates(state_->Entries());
    return f;
}

std::vector<LeftOut> ChosenPart::LeftOutByChoice() {
    std::vector<LeftOut> leftOut;
    if (!request_.listLeftOut || !own_ || !state_->Source()) return leftOut;
    CacheEntryList all;
    const CacheRead read = state_->Source()->Read(all, services_.progress, {true});
    if (read.ending == Ending::Stopped) return leftOut;
    const Selection selection = state_->Current();
    for (const CacheEntry& e : all) {
        if (!InChosenPart(e, selection)) continue;
        if (!e.Body.Present) {
            const bool safe = IsSafeCacheName(e.Body.Name);
            leftOut.push_back({e.Url, e.Body.Name, safe ? LeftOutReason::BodyMissing : LeftOutReason::UnsafeName, {}});
        } else if (!selection.Includes(e.category)) {
            leftOut.push_back({e.Url, e.Body.Name, LeftOutReason::TypeNotChosen, CategoryName(e.category)});
        }
    }
    return leftOut;
}

Failure ErrorFailure(const std::exception& e) {
    Failure f{FailureCode::Error, e.what(), {}};
    if (const auto* file = dynamic_cast<const FileError*>(&e)) f.path = file->path();
    if (dynamic_cast<const FolderInUse*>(&e) != nullptr) f.code = FailureCode::InUse;
    return f;
}

void ShowWarnings(const Warnings& shown, Messages& messages, Warnings& warnings) {
    for (const Warning& w : shown) {
        messages.Warning(w.text);
        warnings.push_back(w);
    }
}

std::optional<Warning> WarnIfBrowserReads(const Settings& settings, Services& services) {
    const std::optional<pid_t> holder = BrowserHoldingCache(settings, services.processes);
    if (!holder) return std::nullopt;
    const std::string index = settings.CacheIndexPath();
    Warning warning{WarningCode::BrowserRunning, BrowserReadingText(index, *holder), index};
    services.messages.Warning(warning.text);
    return warning;
}

Failure BrowserRunningFailure() { return {FailureCode::BrowserRunning, kShutDownNetscape, {}}; }

}  // namespace restash
