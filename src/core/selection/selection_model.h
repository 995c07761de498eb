#pragma once
// The selection window's state and operations, without widgets: the entry
// list and its domain tallies, the two domain lists, the age and type
// filters, the file counts and the enabled states of the controls. The window
// shows this state and calls the operations from its events.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_source.h"
#include "core/platform/clock.h"
#include "core/platform/messages.h"
#include "core/platform/progress.h"
#include "core/selection/age_filter.h"
#include "core/selection/domain_tally.h"
#include "core/selection/name_list.h"
#include "core/selection/selection.h"

namespace restash {

// Fills the entry list from the cache index (emptying it first); throws Error
// when the index cannot be read. Tests pass a function that needs no files.
using IndexLoader = std::function<void(CacheEntryList&)>;

// Answers true when Netscape is running, after telling the user so.
using RunningCheck = std::function<bool()>;

enum class ListId { Src, Dst };

struct CheckBoxState {
    bool checked = false;
    bool enabled = true;
};

// A count panel: its caption and whether it is drawn grey (red, green and
// blue 128) instead of in the window-text colour.
struct CountPanel {
    std::uint64_t value = 0;
    std::string text = "0";
    bool grey = false;
};

// Help topic of the "No Files To ..." boxes.
inline constexpr int kNoFilesHelpTopic = 11;
inline constexpr const char* kNoFilesToUncache = "No Files To Uncache.";

class SelectionModel {
public:
    SelectionModel(Messages& messages, ProgressSink& progress) : messages_(messages), progress_(progress) {}

    // --- the operations ---

    // Each time the window opens: every control back to its first state, the
    // lists empty, NowStamp taken from clock.
    void FormShow(IndexFormat format, const Clock& clock, std::int32_t gmtHours);
    // A paint does something only while indexLoadPending is set: it clears
    // the flag and loads the index. A read error is shown to the user and
    // leaves the lists empty. Returns whether it loaded.
    bool FormPaint(bool& indexLoadPending, IndexLoader load);
    // Empties the entry list and the tallies, fills the entries with load
    // (kept for later re-reads), then AgeLower := 0 and the lists are
    // rebuilt. Errors from load propagate; the lists then stay empty.
    void LoadIndex(IndexLoader load);
    // Reads the index again with the loader of the last LoadIndex and
    // rebuilds the lists with the age window the controls show. On an error
    // the lists are emptied and the error propagates.
    void ReloadIndex();

    void RebuildDomainLists();
    void UpdateCounts();
    void SetButtons();
    long GetFirstSelection(ListId list) const;
    void MoveSelected(ListId from, ListId to);
    void SetItem(ListId list, long position);
    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();

    // The filter controls: the Change handlers with the value now shown.
    void OldNewBoxChange(AgeMode mode);
    void OldNewBoxChange();
    void AgeBoxChange(int index);
    void HDWBoxChange(AgeUnit unit);
    void TextBoxClick(bool checked);
    void MediaBoxClick(bool checked);
    void OthersBoxClick(bool checked);

    // The checks before an uncaching run: Netscape must not run and the
    // checked boxes' counts must not add up to 0 ("No Files To Uncache.").
    // True when the run may start.
    bool UncacheButtonClick(const RunningCheck& netscapeRunning);
    // Releases the entry list and the tallies.
    void FormClose();

    // The user's clicks in a list.
    void SelectItem(ListId list, std::size_t position, bool on = true);
    void ClearSelection(ListId list);

    // --- the state ---

    IndexFormat Format() const { return format_; }
    const CacheEntryList& Entries() const { return entries_; }
    CacheEntryList& Entries() { return entries_; }
    const DomainTallyList& Tallies() const { return tallies_; }
    const NameList& List(ListId list) const { return list == ListId::Src ? src_ : dst_; }
    const NameList& SrcList() const { return src_; }
    const NameList& DstList() const { return dst_; }

    AgeMode OldNewShown() const { return mode_; }
    bool OldNewEnabled() const { return oldNewEnabled_; }
    const std::vector<std::string>& AgeBoxItems() const { return ageItems_; }
    int AgeBoxIndex() const { return ageIndex_; }
    AgeUnit HDWShown() const { return unit_; }
    // AgeBox and HDWBox are enabled and disabled together.
    bool AgeControlsEnabled() const { return ageControlsEnabled_; }
    const CheckBoxState& TextBox() const { return textBox_; }
    const CheckBoxState& MediaBox() const { return mediaBox_; }
    const CheckBoxState& OthersBox() const { return othersBox_; }
    const CountPanel& NumTextPanel() const { return textPanel_; }
    const CountPanel& NumMediaPanel() const { return mediaPanel_; }
    const CountPanel& NumOtherPanel() const { return otherPanel_; }

    bool IncludeBtnEnabled() const { return includeEnabled_; }
    bool IncAllBtnEnabled() const { return includeEnabled_; }
    bool ExcludeBtnEnabled() const { return excludeEnabled_; }
    bool ExAllBtnEnabled() const { return excludeEnabled_; }
    bool DeleteButtonEnabled() const { return deleteEnabled_; }
    bool BackPanelEnabled() const { return backPanelEnabled_; }
    bool FatPanelVisible() const { return fatVisible_; }
    const std::string& FatPanelCaption() const { return fatCaption_; }
    // The list that has the keyboard focus after the last SetItem.
    ListId Focus() const { return focus_; }

    std::int32_t AgeLower() const { return ageLower_; }
    std::int32_t AgeUpper() const { return ageUpper_; }
    std::int32_t NowStamp() const { return nowStamp_; }

    // The sum of the counts of the checked type boxes, and of all three.
    std::uint64_t CheckedTotal() const;
    std::uint64_t AllTotal() const;
    // What the run and the deletion take from the window.
    Selection CurrentSelection() const;

    // The busy state: FatPanel shown with caption, BackPanel disabled (and
    // back). Also told to the progress sink.
    void SetBusy(bool on, const std::string& caption);

    Messages& messages() { return messages_; }
    ProgressSink& progress() { return progress_; }

private:
    NameList& MutableList(ListId list) { return list == ListId::Src ? src_ : dst_; }
    void ApplyShownAgeWindow();
    void SetPanel(CountPanel& panel, std::uint64_t value);

    Messages& messages_;
    ProgressSink& progress_;
    IndexLoader loader_;

    IndexFormat format_ = IndexFormat::TextIndex;
    CacheEntryList entries_;
    DomainTallyList tallies_;
    NameList src_;
    NameList dst_;

    AgeMode mode_ = AgeMode::AllAges;
    AgeUnit unit_ = AgeUnit::Hours;
    std::vector<std::string> ageItems_ = AgeChoices(AgeUnit::Hours);
    int ageIndex_ = 0;
    bool oldNewEnabled_ = true;
    bool ageControlsEnabled_ = false;
    CheckBoxState textBox_{true, true};
    CheckBoxState mediaBox_{true, true};
    CheckBoxState othersBox_{false, true};
    CountPanel textPanel_;
    CountPanel mediaPanel_;
    CountPanel otherPanel_;

    bool includeEnabled_ = false;
    bool excludeEnabled_ = false;
    bool deleteEnabled_ = true;
    bool backPanelEnabled_ = true;
    bool fatVisible_ = false;
    std::string fatCaption_ = kReadingCaption;
    ListId focus_ = ListId::Src;

    std::int32_t ageLower_ = 0;
    std::int32_t ageUpper_ = kNoUpperLimit;
    std::int32_t nowStamp_ = 0;
};

}  // namespace restash
