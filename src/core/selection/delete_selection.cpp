#include "core/selection/delete_selection.h"

#include "core/platform/error.h"

namespace restash {
namespace {

// The selection window's busy state for the time of a deletion; the caption
// goes back to the reading caption however the deletion ends.
class DeletingState {
public:
    explicit DeletingState(SelectionModel& model) : model_(model) { model_.SetBusy(true, kDeletingCaption); }
    ~DeletingState() { End(); }
    DeletingState(const DeletingState&) = delete;
    DeletingState& operator=(const DeletingState&) = delete;
    void End() {
        if (on_) model_.SetBusy(false, kReadingCaption);
        on_ = false;
    }

private:
    SelectionModel& model_;
    bool on_ = true;
};

DeleteSummary Remove(SelectionModel& model, const CacheSource& source, const std::string& programDir,
                     FileSystem& fs) {
    const Selection selection = model.CurrentSelection();
    DeletingState busy(model);
    const Removal removal = source.Remove(
        model.Entries(), [&](const CacheEntry& e) { return IsSelected(e, selection); }, programDir, fs,
        model.progress());
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
        model.RebuildDomainLists();
        return summary;
    }
    try {
        model.ReloadIndex();
    } catch (const Error& e) {
        // The deletion itself is done; the lists stay empty, as after a
        // failed first read.
        model.messages().ShowError(e.what());
    }
    return summary;
}

}  // namespace

DeleteSummary DeleteSelection(SelectionModel& model, const CacheSource& source, const std::string& programDir,
                              FileSystem& fs, const RunningCheck& netscapeRunning) {
    if (netscapeRunning && netscapeRunning()) return {};
    source.ClearLeftovers(programDir, fs);

    Messages& messages = model.messages();
    const std::uint64_t total = model.CheckedTotal();
    if (total == 0) {
        messages.Show(MessageKind::Warning, kNoFilesToDelete, Buttons::OkHelp, kNoFilesHelpTopic);
        return {};
    }
    const bool wholeCache =
        model.OldNewShown() == AgeMode::AllAges && model.SrcList().empty() && total == model.AllTotal();
    const Answer answer = messages.Show(MessageKind::Confirmation, wholeCache ? kDeleteWholeCacheQuestion : kDeleteQuestion,
                                        Buttons::YesNoCancel);
    if (answer != Answer::Yes) {
        // A list-only removal lists the domains again whatever the answer.
        if (source.Traits().removal == RemovalKind::ListOnly) model.RebuildDomainLists();
        return {};
    }

    DeleteSummary summary = Remove(model, source, programDir, fs);
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
