#include "core/selection/cache_selection.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <utility>

#include "core/platform/error.h"

namespace restash {

void CacheSelection::Reset(const CacheTraits& traits, const Clock& clock, std::int32_t gmtHours) {
    traits_ = traits;
    mode_ = AgeMode::AllAges;
    unit_ = AgeUnit::Hours;
    ageNumbers_ = AgeChoices(AgeUnit::Hours);
    ageIndex_ = 0;
    includeText_ = true;
    includeMedia_ = true;
    includeOther_ = traits.otherFilesAtFirst;
    counts_ = {};
    available_.Clear();
    chosen_.Clear();
    nowStamp_ = ComputeNowStamp(traits.stampShift, clock, gmtHours, traits.utcStamps);
    gmtHours_ = gmtHours;
    dateLower_ = INT32_MIN;
    dateUpper_ = INT32_MAX;
    urlPatterns_.clear();
    ageUpper_ = kNoUpperLimit;
    progress_.ProcessMessages();
}

CacheRead CacheSelection::Load(std::shared_ptr<const CacheSource> source, const ReadOptions& options) {
    source_ = std::move(source);
    readOptions_ = options;
    entries_.clear();
    tallies_.clear();
    CacheRead read = source_->Read(entries_, progress_, readOptions_);
    ageLower_ = std::max(0, dateLower_);
    RebuildLists();
    return read;
}

CacheRead CacheSelection::Reload() {
    CacheRead read;
    try {
        if (!source_) throw Error("No cache index has been read");
        read = source_->Read(entries_, progress_, readOptions_);
    } catch (...) {
        // What the list held before the re-read no longer matches the cache.
        entries_.clear();
        ApplyShownAgeWindow();
        RebuildLists();
        throw;
    }
    ApplyShownAgeWindow();
    RebuildLists();
    return read;
}

void CacheSelection::RebuildLists() {
    try {
        tallies_ = TallyDomains(entries_, ageLower_, ageUpper_, urlPatterns_);
        std::vector<std::string> names;
        names.reserve(tallies_.size());
        for (const DomainTally& t : tallies_) names.push_back(t.Domain);
        available_.Clear();
        chosen_.Clear();
        chosen_.AddAll(std::move(names));
    } catch (...) {
        Recount();
        throw;
    }
    Recount();
}

void CacheSelection::Release() {
    entries_.clear();
    entries_.shrink_to_fit();
    tallies_.clear();
    tallies_.shrink_to_fit();
}

void CacheSelection::Recount() {
    TypeCounts counts;
    std::unordered_set<std::string> chosen;
    chosen.reserve(chosen_.size());
    for (const NameItem& item : chosen_.Items()) chosen.insert(DomainKey(item.name));
    for (const DomainTally& t : tallies_) {
        if (chosen.count(DomainKey(t.Domain)) == 0) continue;
        counts.text += t.TextCount;
        counts.media += t.MediaCount;
        counts.other += t.OtherCount;
    }
    // The window lets pending input through before and after it shows the counts.
    progress_.ProcessMessages();
    counts_ = counts;
    progress_.ProcessMessages();
}

void CacheSelection::Mark(DomainList list, std::size_t position, bool on) { MutableList(list).Select(position, on); }

void CacheSelection::ClearMarks(DomainList list) { MutableList(list).ClearSelection(); }

void CacheSelection::MoveMarked(DomainList from) {
    const DomainList to = from == DomainList::Available ? DomainList::Chosen : DomainList::Available;
    const long first = List(from).FirstSelected();
    // One pass and one merge instead of an insertion per item; the names
    // arrive in the order the item-by-item move (last to first) adds them.
    MutableList(to).AddAll(MutableList(from).TakeSelected());
    MarkAfterMove(from, first);
    Recount();
}

void CacheSelection::MarkAfterMove(DomainList list, long position) {
    NameList& l = MutableList(list);
    if (l.empty()) return;
    if (position < 0) position = 0;
    if (static_cast<std::size_t>(position) >= l.size()) position = static_cast<long>(l.size()) - 1;
    l.Select(static_cast<std::size_t>(position));
}

void CacheSelection::ChooseMarked() { MoveMarked(DomainList::Available); }

void CacheSelection::UnchooseMarked() { MoveMarked(DomainList::Chosen); }

void CacheSelection::ChooseAll() {
    chosen_.AddAll(available_.Names());
    available_.Clear();
    Recount();
}

void CacheSelection::UnchooseAll() {
    available_.AddAll(chosen_.Names());
    chosen_.Clear();
    Recount();
}

void CacheSelection::SetAgeMode(AgeMode mode) {
    mode_ = mode;
    AgeWindowChanged();
}

void CacheSelection::SetAgeNumber(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < ageNumbers_.size()) ageIndex_ = index;
    AgeWindowChanged();
}

void CacheSelection::SetAgeUnit(AgeUnit unit) {
    unit_ = unit;
    ageNumbers_ = AgeChoices(unit);
    ageIndex_ = 0;
    AgeWindowChanged();
}

void CacheSelection::AgeWindowChanged() {
    ApplyShownAgeWindow();
    RebuildLists();
}

void CacheSelection::SetTypeIncluded(Category category, bool on) {
    switch (category) {
        case Category::Text: includeText_ = on; break;
        case Category::Media: includeMedia_ = on; break;
        case Category::Other: includeOther_ = on; break;
    }
}

void CacheSelection::SetDateWindow(std::int32_t lower, std::int32_t upper) {
    dateLower_ = lower;
    dateUpper_ = upper;
    AgeWindowChanged();
}

void CacheSelection::SetUrlPatterns(std::vector<std::string> patterns) {
    urlPatterns_ = std::move(patterns);
    RebuildLists();
}

bool CacheSelection::TypeIncluded(Category category) const {
    switch (category) {
        case Category::Text: return includeText_;
        case Category::Media: return includeMedia_;
        case Category::Other: return includeOther_;
    }
    return false;
}

std::uint64_t CacheSelection::CheckedTotal() const {
    std::uint64_t total = 0;
    for (const Category c : {Category::Text, Category::Media, Category::Other})
        if (TypeIncluded(c)) total += counts_.Of(c);
    return total;
}

std::uint64_t CacheSelection::AllTotal() const { return counts_.text + counts_.media + counts_.other; }

bool CacheSelection::ChoosesWholeCache() const {
    const bool everyDate = dateLower_ == INT32_MIN && dateUpper_ == INT32_MAX;
    return mode_ == AgeMode::AllAges && everyDate && urlPatterns_.empty() && available_.empty() &&
           CheckedTotal() == AllTotal();
}

Selection CacheSelection::Current() const {
    Selection s;
    for (const NameItem& item : chosen_.Items()) s.Domains.Add(item.name);
    s.IncludeText = includeText_;
    s.IncludeMedia = includeMedia_;
    s.IncludeOther = includeOther_;
    s.AgeLower = ageLower_;
    s.AgeUpper = ageUpper_;
    s.NowStamp = nowStamp_;
    s.UrlPatterns = urlPatterns_;
    return s;
}

void CacheSelection::ApplyShownAgeWindow() {
    const std::int32_t n = std::stoi(ageNumbers_.at(static_cast<std::size_t>(ageIndex_)));
    const AgeWindow w = AgeWindowFor(mode_, n, unit_, nowStamp_);
    ageLower_ = std::max(w.lower, dateLower_);
    ageUpper_ = std::min(w.upper, dateUpper_);
}

}  // namespace restash
