#include "core/jobs/chosen_part.h"

#include "core/app/browser_bridge.h"
#include "core/jobs/job_texts.h"
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
    if (checks.browser && NetscapeRuns(settings, services_.processes)) {
        failure_ = BrowserRunningFailure();
        return JobStatus::Failed;
    }
    const std::string index = settings.CacheIndexPath();
    if (checks.cachePresent && !CacheIsThere(index)) return Fail(FailureCode::CacheMissing, kCachePathInvalid, index);
    std::shared_ptr<const CacheSource> source = OpenCacheSource(index);

    own_ = std::make_unique<CacheSelection>(services_.progress);
    state_ = own_.get();
    state_->Reset(source->Traits(), services_.clock, settings.GMT);
    const CacheRead read = state_->Load(std::move(source));
    for (const ReadWarning& w : read.warnings) cacheWarnings_.push_back(JobWarning(w));
    if (read.ending == Ending::Stopped) return JobStatus::Stopped;
    ApplySelectionOptions(*state_, request_.options);
    if (checks.nothingText && !state_->HasSomethingChosen()) return Fail(FailureCode::NothingChosen, checks.nothingText);
    return JobStatus::Completed;
}

Failure ErrorFailure(const std::exception& e) {
    Failure f{FailureCode::Error, e.what(), {}};
    if (const auto* file = dynamic_cast<const FileError*>(&e)) f.path = file->path();
    return f;
}

Warning JobWarning(const ReadWarning& warning) {
    switch (warning.kind) {
        case ReadWarningKind::DamagedIndex: return {WarningCode::IndexDamaged, warning.Text()};
        case ReadWarningKind::DamagedEntry: return {WarningCode::EntryDamaged, warning.Text()};
        case ReadWarningKind::MissingBody: return {WarningCode::BodyMissing, warning.Text()};
        case ReadWarningKind::Unsupported: break;
    }
    return {WarningCode::PartUnsupported, warning.Text()};
}

Failure BrowserRunningFailure() { return {FailureCode::BrowserRunning, kShutDownNetscape, {}}; }

}  // namespace restash
