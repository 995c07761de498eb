#include "core/jobs/delete_job.h"

#include "core/app/browser_bridge.h"
#include "core/jobs/job_texts.h"
#include "core/platform/error.h"

namespace restash {
namespace {

// The busy state for the time of a removal; the caption goes back to the
// reading caption however the removal ends.
class DeletingState {
public:
    explicit DeletingState(ProgressSink& progress) : progress_(progress) { progress_.Busy(true, kDeletingCaption); }
    ~DeletingState() { progress_.Busy(false, kReadingCaption); }
    DeletingState(const DeletingState&) = delete;
    DeletingState& operator=(const DeletingState&) = delete;

private:
    ProgressSink& progress_;
};

std::string NotRemovedText(const std::vector<RemovalFailure>& failures) {
    constexpr std::size_t kShown = 10;
    std::string text = "Could not delete " + std::to_string(failures.size()) + " cache file(s):";
    for (std::size_t i = 0; i < failures.size() && i < kShown; ++i) text += "\r\n" + failures[i].what;
    if (failures.size() > kShown) text += "\r\n...";
    return text;
}

}  // namespace

DeleteJob::DeleteJob(DeleteRequest request, Services services)
    : request_(std::move(request)), services_(services), part_(request_.selection, services_) {}

Outcome<DeleteSummary> DeleteJob::Run() {
    try {
        const JobStatus prepared = part_.Prepare(request_.settings, {BrowserCheck::Refuse, true, kNoFilesToDelete});
        if (prepared == JobStatus::Stopped) return Outcome<DeleteSummary>::Stopped();
        if (prepared == JobStatus::Failed) return Outcome<DeleteSummary>::Failed(part_.failure());
        return Decide(part_.State());
    } catch (const Error& e) {
        return Outcome<DeleteSummary>::Failed(ErrorFailure(e));
    }
}

Outcome<DeletePlan> DeleteJob::Plan() {
    try {
        const JobStatus prepared = part_.Prepare(request_.settings, {BrowserCheck::Refuse, true, kNoFilesToDelete});
        if (prepared == JobStatus::Stopped) return Outcome<DeletePlan>::Stopped();
        if (prepared == JobStatus::Failed) return Outcome<DeletePlan>::Failed(part_.failure());
        CacheSelection& state = part_.State();
        if (NetscapeRuns(request_.settings, services_.processes))
            return Outcome<DeletePlan>::Failed(BrowserRunningFailure());
        if (!state.HasSomethingChosen()) return Outcome<DeletePlan>::Failed(part_.NothingChosen(kNoFilesToDelete));
        if (std::string why = state.Source()->WhyRemovalIsRefused(); !why.empty())
            return Outcome<DeletePlan>::Failed({FailureCode::Error, std::move(why), state.Source()->Location()});
        const Selection selection = state.Current();
        Outcome<DeletePlan> o;
        o.summary.wholeCache = state.ChoosesWholeCache();
        o.summary.rewritesIndex = state.Traits().removal == RemovalKind::RewritesIndex;
        o.summary.removal = state.Source()->PlanRemoval(
            state.Entries(), [&](const CacheEntry& e) { return IsSelected(e, selection); }, services_.progress);
        if (o.summary.removal.ending == Ending::Stopped) return Outcome<DeletePlan>::Stopped();
        o.warnings = part_.CacheWarnings();
        o.leftOut = part_.LeftOutByChoice();
        return o;
    } catch (const Error& e) {
        return Outcome<DeletePlan>::Failed(ErrorFailure(e));
    }
}

Outcome<DeleteSummary> DeleteJob::Decide(CacheSelection& state) {
    const Settings& settings = request_.settings;
    if (NetscapeRuns(settings, services_.processes)) return Outcome<DeleteSummary>::Failed(BrowserRunningFailure());
    const CacheSource& source = *state.Source();
    source.ClearLeftovers(settings.ProgramDir, services_.fs);

    if (!state.HasSomethingChosen()) return Outcome<DeleteSummary>::Failed(part_.NothingChosen(kNoFilesToDelete));
    // A format (or a damaged cache) that cannot lose entries safely is
    // refused before the user is asked.
    if (std::string why = source.WhyRemovalIsRefused(); !why.empty())
        return Outcome<DeleteSummary>::Failed({FailureCode::Error, std::move(why), source.Location()});
    const Answer answer =
        services_.messages.Show(MessageKind::Confirmation,
                                state.ChoosesWholeCache() ? kDeleteWholeCacheQuestion : kDeleteQuestion,
                                Buttons::YesNoCancel);
    if (answer != Answer::Yes) {
        // A list-only removal lists the domains again whatever the answer.
        if (source.Traits().removal == RemovalKind::ListOnly) state.RebuildLists();
        // Ctrl-C while the question was asked is a stop, not a No.
        if (!services_.progress.ProcessMessages()) return Outcome<DeleteSummary>::Stopped();
        return Outcome<DeleteSummary>::Failed({FailureCode::NotConfirmed, {}, {}});
    }
    return Remove(state);
}

Outcome<DeleteSummary> DeleteJob::Remove(CacheSelection& state) {
    const Selection selection = state.Current();
    const CacheSource& source = *state.Source();
    // Told before the removal changes the cache and the lists.
    std::vector<LeftOut> byChoice = part_.LeftOutByChoice();
    Removal removal;
    {
        DeletingState busy(services_.progress);
        removal = source.Remove(
            state.MutableEntries(), [&](const CacheEntry& e) { return IsSelected(e, selection); },
            request_.settings.ProgramDir, services_.fs, services_.progress);
    }
    if (removal.ending == Ending::Stopped) return Outcome<DeleteSummary>::Stopped();
    Outcome<DeleteSummary> o;
    o.warnings = part_.CacheWarnings();
    if (source.Traits().removal == RemovalKind::RewritesIndex) {
        try {
            // What the re-read meets (a line changed meanwhile) is said as the first read says it.
            ShowWarnings(state.Reload().warnings, services_.messages, o.warnings);
        } catch (const Error& e) {
            // The deletion itself is done; the lists stay empty, as after a
            // failed first read.
            services_.messages.ShowError(e.what());
        }
    } else {
        state.RebuildLists();
    }
    o.summary = {removal.entriesRemoved, removal.bodiesRemoved, source.Traits().removal == RemovalKind::RewritesIndex};
    o.leftOut = std::move(byChoice);
    if (removal.failures.empty()) return o;
    const std::string text = NotRemovedText(removal.failures);
    services_.messages.ShowError(text);
    o.warnings.push_back({WarningCode::BodiesNotRemoved, text, {}});
    for (const RemovalFailure& f : removal.failures)
        o.leftOut.push_back({f.url, f.body, LeftOutReason::NotRemovable, f.what});
    return o;
}

}  // namespace restash
