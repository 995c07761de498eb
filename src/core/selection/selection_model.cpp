#include "core/selection/selection_model.h"

#include <unordered_set>
#include <utility>

#include "core/platform/error.h"

namespace restash {

void SelectionModel::FormShow(IndexFormat format, const Clock& clock, std::int32_t gmtHours) {
    format_ = format;
    mode_ = AgeMode::AllAges;
    oldNewEnabled_ = true;
    unit_ = AgeUnit::Hours;
    ageItems_ = AgeChoices(AgeUnit::Hours);
    ageIndex_ = 0;
    ageControlsEnabled_ = false;

    textBox_ = {true, true};
    mediaBox_ = {true, true};
    othersBox_ = {format == IndexFormat::HashIndex, true};
    SetPanel(textPanel_, 0);
    SetPanel(mediaPanel_, 0);
    SetPanel(otherPanel_, 0);
    textPanel_.grey = false;
    mediaPanel_.grey = false;
    otherPanel_.grey = format == IndexFormat::TextIndex;

    deleteEnabled_ = true;
    includeEnabled_ = false;
    excludeEnabled_ = false;
    src_.Clear();
    dst_.Clear();

    nowStamp_ = ComputeNowStamp(format, clock, gmtHours);
    ageUpper_ = kNoUpperLimit;
    progress_.ProcessMessages();
}

bool SelectionModel::FormPaint(bool& indexLoadPending, IndexLoader load) {
    if (!indexLoadPending) return false;
    indexLoadPending = false;
    try {
        LoadIndex(std::move(load));
    } catch (const Error& e) {
        messages_.ShowError(e.what());
    }
    return true;
}

void SelectionModel::LoadIndex(IndexLoader load) {
    loader_ = std::move(load);
    entries_.clear();
    tallies_.clear();
    loader_(entries_);
    ageLower_ = 0;
    RebuildDomainLists();
}

void SelectionModel::ReloadIndex() {
    try {
        if (!loader_) throw Error("No cache index has been read");
        loader_(entries_);
    } catch (...) {
        // What the list held before the re-read no longer matches the index.
        entries_.clear();
        ApplyShownAgeWindow();
        RebuildDomainLists();
        throw;
    }
    ApplyShownAgeWindow();
    RebuildDomainLists();
}

void SelectionModel::RebuildDomainLists() {
    try {
        tallies_ = TallyDomains(entries_, ageLower_, ageUpper_);
        std::vector<std::string> names;
        names.reserve(tallies_.size());
        for (const DomainTally& t : tallies_) names.push_back(t.Domain);
        src_.Clear();
        dst_.Clear();
        dst_.AddAll(std::move(names));
        SetButtons();
    } catch (...) {
        UpdateCounts();
        throw;
    }
    UpdateCounts();
}

void SelectionModel::UpdateCounts() {
    backPanelEnabled_ = false;
    std::uint64_t text = 0, media = 0, other = 0;
    try {
        std::unordered_set<std::string> chosen;
        chosen.reserve(dst_.size());
        for (const NameItem& item : dst_.Items()) chosen.insert(DomainKey(item.name));
        for (const DomainTally& t : tallies_) {
            if (chosen.count(DomainKey(t.Domain)) == 0) continue;
            text += t.TextCount;
            media += t.MediaCount;
            other += t.OtherCount;
        }
        progress_.ProcessMessages();
        SetPanel(textPanel_, text);
        SetPanel(mediaPanel_, media);
        SetPanel(otherPanel_, other);
        progress_.ProcessMessages();
    } catch (...) {
        backPanelEnabled_ = true;
        throw;
    }
    backPanelEnabled_ = true;
}

void SelectionModel::SetButtons() {
    includeEnabled_ = !src_.empty();
    excludeEnabled_ = !dst_.empty();
}

long SelectionModel::GetFirstSelection(ListId list) const { return List(list).FirstSelected(); }

void SelectionModel::MoveSelected(ListId from, ListId to) {
    // One pass and one merge instead of an insertion per item; the names
    // arrive in the order the item-by-item move (last to first) adds them.
    MutableList(to).AddAll(MutableList(from).TakeSelected());
}

void SelectionModel::SetItem(ListId list, long position) {
    focus_ = list;
    NameList& l = MutableList(list);
    if (!l.empty()) {
        if (position < 0) position = 0;
        if (static_cast<std::size_t>(position) >= l.size()) position = static_cast<long>(l.size()) - 1;
        l.Select(static_cast<std::size_t>(position));
    }
    SetButtons();
}

void SelectionModel::IncludeBtnClick() {
    const long first = GetFirstSelection(ListId::Src);
    MoveSelected(ListId::Src, ListId::Dst);
    SetItem(ListId::Src, first);
    UpdateCounts();
}

void SelectionModel::ExcludeBtnClick() {
    const long first = GetFirstSelection(ListId::Dst);
    MoveSelected(ListId::Dst, ListId::Src);
    SetItem(ListId::Dst, first);
    UpdateCounts();
}

void SelectionModel::IncAllBtnClick() {
    dst_.AddAll(src_.Names());
    src_.Clear();
    SetItem(ListId::Src, 0);
    UpdateCounts();
}

void SelectionModel::ExcAllBtnClick() {
    src_.AddAll(dst_.Names());
    dst_.Clear();
    SetItem(ListId::Dst, 0);
    UpdateCounts();
}

void SelectionModel::OldNewBoxChange(AgeMode mode) {
    mode_ = mode;
    OldNewBoxChange();
}

void SelectionModel::OldNewBoxChange() {
    ApplyShownAgeWindow();
    ageControlsEnabled_ = mode_ != AgeMode::AllAges;
    RebuildDomainLists();
}

void SelectionModel::AgeBoxChange(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < ageItems_.size()) ageIndex_ = index;
    OldNewBoxChange();
}

void SelectionModel::HDWBoxChange(AgeUnit unit) {
    unit_ = unit;
    ageItems_ = AgeChoices(unit);
    ageIndex_ = 0;
    OldNewBoxChange();
}

void SelectionModel::TextBoxClick(bool checked) {
    textBox_.checked = checked;
    textPanel_.grey = !checked;
}

void SelectionModel::MediaBoxClick(bool checked) {
    mediaBox_.checked = checked;
    mediaPanel_.grey = !checked;
}

void SelectionModel::OthersBoxClick(bool checked) {
    othersBox_.checked = checked;
    otherPanel_.grey = !checked;
}

bool SelectionModel::UncacheButtonClick(const RunningCheck& netscapeRunning) {
    if (netscapeRunning && netscapeRunning()) return false;
    if (CheckedTotal() == 0) {
        messages_.Show(MessageKind::Warning, kNoFilesToUncache, Buttons::OkHelp, kNoFilesHelpTopic);
        return false;
    }
    return true;
}

void SelectionModel::FormClose() {
    entries_.clear();
    entries_.shrink_to_fit();
    tallies_.clear();
    tallies_.shrink_to_fit();
}

void SelectionModel::SelectItem(ListId list, std::size_t position, bool on) { MutableList(list).Select(position, on); }

void SelectionModel::ClearSelection(ListId list) { MutableList(list).ClearSelection(); }

std::uint64_t SelectionModel::CheckedTotal() const {
    std::uint64_t total = 0;
    if (textBox_.checked) total += textPanel_.value;
    if (mediaBox_.checked) total += mediaPanel_.value;
    if (othersBox_.checked) total += otherPanel_.value;
    return total;
}

std::uint64_t SelectionModel::AllTotal() const { return textPanel_.value + mediaPanel_.value + otherPanel_.value; }

Selection SelectionModel::CurrentSelection() const {
    Selection s;
    for (const NameItem& item : dst_.Items()) s.Domains.Add(item.name);
    s.IncludeText = textBox_.checked;
    s.IncludeMedia = mediaBox_.checked;
    s.IncludeOther = othersBox_.checked;
    s.AgeLower = ageLower_;
    s.AgeUpper = ageUpper_;
    s.NowStamp = nowStamp_;
    return s;
}

void SelectionModel::SetBusy(bool on, const std::string& caption) {
    fatCaption_ = caption;
    fatVisible_ = on;
    backPanelEnabled_ = !on;
    progress_.Busy(on, caption);
}

void SelectionModel::ApplyShownAgeWindow() {
    const std::int32_t n = std::stoi(ageItems_.at(static_cast<std::size_t>(ageIndex_)));
    const AgeWindow w = AgeWindowFor(mode_, n, unit_, nowStamp_);
    ageLower_ = w.lower;
    ageUpper_ = w.upper;
}

void SelectionModel::SetPanel(CountPanel& panel, std::uint64_t value) {
    panel.value = value;
    panel.text = std::to_string(value);
}

}  // namespace restash
