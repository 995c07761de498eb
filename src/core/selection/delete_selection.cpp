#include "core/selection/delete_selection.h"

#include "core/platform/error.h"

namespace restash {
namespace {

// The busy state for the time of a deletion; the caption goes back to the
// reading caption however the deletion ends.
class DeletingState {
public:
    explicit DeletingState(ProgressSink& progress) : progress_(progress) { progress_.Busy(true, kDeletingCaption); }
    ~DeletingState() { End(); }
    DeletingState(const DeletingState&) = delete;
    DeletingState& operator=(const DeletingState&) = delete;
    void End() {
        if (on_) progress_.Busy(false, kReadingCaption);
        on_ = false;
    }

private:
    ProgressSink& progress_;
    bool on_ = true;
};

DeleteSummary Remove(CacheSelection& state, Messages& messages, const std::string& programDir, FileSystem& fs) {
    const Selection selection = state.Current();
    const CacheSource& source = *state.Source();
    DeletingState busy(state.progress());
    const Removal removal = source.Remove(
        state.MutableEntries(), [&](const CacheEntry& e) { return IsSelected(e, selection); }, programDir, fs,
        state.progress());
    busy.End();
    DeleteSummary summary;
    if (removal.ending == Ending::Stopped) {
        summary.stopped = true;
        return summary;
    }
    summary.deleted = true;
    summary.entriesRemoved = removal.entriesRemoved;
    summary.filesDeleted = removal.bodiesRemoved;
    summary.failures = removal.failures;
    if (source.Traits().removal != RemovalKind::RewritesIndex) {
        state.RebuildLists();
        return summary;
    }
    try {
        state.Reload();
    } catch (const Error& e) {
        // The deletion itself is done; the lists stay empty, as after a
        // failed first read.
        messages.ShowError(e.what());
    }
    return summary;
}

}  // namespace

DeleteSummary DeleteSelection(CacheSelection& state, Messages& messages, const std::string& programDir,
                              FileSystem& fs, const RunningCheck& netscapeRunning) {
    if (netscapeRunning && netscapeRunning()) return {};
    const CacheSource& source = *state.Source();
    source.ClearLeftovers(programDir, fs);

    if (!state.HasSomethingChosen()) {
        messages.Show(MessageKind::Warning, kNoFilesToDelete, Buttons::OkHelp, kNoFilesHelpTopic);
        return {};
    }
    const Answer answer = messages.Show(MessageKind::Confirmation,
                                        state.ChoosesWholeCache() ? kDeleteWholeCacheQuestion : kDeleteQuestion,
                                        Buttons::YesNoCancel);
    if (answer != Answer::Yes) {
        // A list-only removal lists the domains again whatever the answer.
        if (source.Traits().removal == RemovalKind::ListOnly) state.RebuildLists();
        return {};
    }

    DeleteSummary summary = Remove(state, messages, programDir, fs);
    if (!summary.failures.empty()) {
        std::string text = "Could not delete " + std::to_string(summary.failures.size()) + " cache file(s):";
        constexpr std::size_t kShown = 10;
        for (std::size_t i = 0; i < summary.failures.size() && i < kShown; ++i) text += "\r\n" + summary.failures[i];
        if (summary.failures.size() > kShown) text += "\r\n...";
        messages.ShowError(text);
    }
    return summary;
}

}  // namespace restash
