#include "core/jobs/uncache_job.h"

#include "core/app/browser_bridge.h"
#include "core/jobs/job_texts.h"
#include "core/jobs/output_overlap.h"
#include "core/offline/offline_lock.h"
#include "core/platform/error.h"
#include "core/uncache/uncache_run.h"

namespace restash {
namespace {

Outcome<UncacheSummary> Completed(const RunOutcome& run, const std::string& histPath) {
    Outcome<UncacheSummary> o;
    o.summary = {run.filesCopied, run.pagesConverted, run.viewIndexRequested,
                 run.copyFailures.size() + run.bodiesGone.size()};
    if (run.historyMissing) o.warnings.push_back({WarningCode::HistoryMissing, kBadHistoryPath, histPath});
    if (!run.historyNotUpdated.empty())
        o.warnings.push_back({WarningCode::HistoryNotUpdated, run.historyNotUpdated, histPath});
    if (!run.copyFailures.empty())
        o.warnings.push_back({WarningCode::BodiesUnreadable, CopyFailuresText(run.copyFailures), {}});
    for (const CopyFailure& f : run.copyFailures)
        o.leftOut.push_back({f.url, f.body, LeftOutReason::BodyUnreadable, f.what});
    for (const CopyFailure& f : run.bodiesGone) o.leftOut.push_back({f.url, f.body, LeftOutReason::BodyMissing, {}});
    if (!run.undecoded.empty())
        o.warnings.push_back({WarningCode::BodiesNotDecoded, UndecodedText(run.undecoded), {}});
    return o;
}

}  // namespace

UncacheJob::UncacheJob(UncacheRequest request, Services services)
    : request_(std::move(request)), services_(services), part_(request_.selection, services_) {}

Outcome<UncacheSummary> UncacheJob::Run() {
    if (auto ended = Check()) return *ended;
    return RunChecked();
}

std::optional<Outcome<UncacheSummary>> UncacheJob::Check() {
    try {
        const JobStatus prepared = part_.Prepare(request_.settings, {BrowserCheck::Refuse, true, kNoFilesToUncache});
        if (prepared == JobStatus::Stopped) return Outcome<UncacheSummary>::Stopped();
        if (prepared == JobStatus::Failed) return Outcome<UncacheSummary>::Failed(part_.failure());
    } catch (const Error& e) {
        return Outcome<UncacheSummary>::Failed(ErrorFailure(e));
    }
    if (NetscapeRuns(request_.settings, services_.processes))
        return Outcome<UncacheSummary>::Failed(BrowserRunningFailure());
    // The history only counts when this cache's run rewrites it.
    const bool history = request_.history && part_.State().Traits().rewritesHistory;
    if (auto overlap = CheckOutputsApart(UncachePaths(request_.settings, history)))
        return Outcome<UncacheSummary>::Failed(*overlap);
    if (!part_.State().HasSomethingChosen()) return Outcome<UncacheSummary>::Failed(part_.NothingChosen(kNoFilesToUncache));
    return std::nullopt;
}

Outcome<UncachePlan> UncacheJob::Plan() {
    if (auto ended = Check()) {
        Outcome<UncachePlan> o;
        o.status = ended->status;
        o.failure = ended->failure;
        return o;
    }
    try {
        CacheSelection& state = part_.State();
        Outcome<UncachePlan> o;
        o.summary = PlanUncache(request_.settings, *state.Source(), state.Entries(), state.Current());
        o.warnings = part_.CacheWarnings();
        if (o.summary.historyMissing && request_.history)
            o.warnings.push_back({WarningCode::HistoryMissing, kBadHistoryPath, request_.settings.HistPath});
        for (const CopyFailure& f : o.summary.gone) o.leftOut.push_back({f.url, f.body, LeftOutReason::BodyMissing, {}});
        AddLeftOutByChoice(o.leftOut);
        return o;
    } catch (const Error& e) {
        return Outcome<UncachePlan>::Failed(ErrorFailure(e));
    }
}

void UncacheJob::AddLeftOutByChoice(std::vector<LeftOut>& leftOut) {
    std::vector<LeftOut> more = part_.LeftOutByChoice();
    leftOut.insert(leftOut.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

Outcome<UncacheSummary> UncacheJob::RunChecked() {
    if (!part_.HasState()) return Run();
    const Settings& settings = request_.settings;
    CacheSelection& state = part_.State();
    try {
        const OfflineLock lock(services_.fs, settings.OfflineDir);
        RunServices run{services_.fs, services_.progress, services_.messages, services_.clock, services_.timeLocale};
        const RunOutcome outcome =
            RunUncache(settings, *state.Source(), state.Entries(), state.Current(), run, {request_.history});
        if (outcome.ending == Ending::Stopped) return Outcome<UncacheSummary>::Stopped();
        Outcome<UncacheSummary> o = Completed(outcome, settings.HistPath);
        o.warnings.insert(o.warnings.begin(), part_.CacheWarnings().begin(), part_.CacheWarnings().end());
        AddLeftOutByChoice(o.leftOut);
        return o;
    } catch (const Error& e) {
        return Outcome<UncacheSummary>::Failed(ErrorFailure(e));
    }
}

}  // namespace restash
