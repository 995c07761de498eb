#pragma once
// The selection over a cache: the entries read from its source with their
// domain tallies, the domains available and chosen, the age window and the
// types, and the counts they give. The selection window shows this state and
// calls these operations; the command line makes its choices through the
// same operations (ApplySelectionOptions), so both choose alike. What is
// about widgets (enabled flags, focus, texts) is the window's business.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_source.h"
#include "core/platform/clock.h"
#include "core/platform/progress.h"
#include "core/selection/age_filter.h"
#include "core/selection/domain_tally.h"
#include "core/selection/name_list.h"
#include "core/selection/selection.h"

namespace restash {

// The two domain lists: "Available Domains" and "Uncache/Delete".
enum class DomainList { Available, Chosen };

// Text, media and other entries of the chosen domains in the age window.
struct TypeCounts {
    std::uint64_t text = 0;
    std::uint64_t media = 0;
    std::uint64_t other = 0;
    std::uint64_t Of(Category c) const { return c == Category::Text ? text : c == Category::Media ? media : other; }
};

class CacheSelection {
public:
    explicit CacheSelection(ProgressSink& progress) : progress_(progress) {}

    // --- starting over ---

    // Back to the first state for a cache of these traits: both lists empty,
    // all ages shown (hours, the first number), the types the cache starts
    // with, the counts 0, NowStamp taken from clock.
    void Reset(const CacheTraits& traits, const Clock& clock, std::int32_t gmtHours);
    // Reads the cache of source (emptying the entries and tallies first);
    // then the lower end of the age window goes back to 0 and the lists are
    // rebuilt. Errors from the read propagate; the lists then stay empty.
    // Stopped when the read was stopped (the entries read by then are listed).
    // The options hold for the reloads too; entries whose body is gone,
    // when asked for, are in the entries but in no count.
    CacheRead Load(std::shared_ptr<const CacheSource> source, const ReadOptions& options = {});
    // Reads the cache of the last Load again and rebuilds the lists with the
    // age window the controls show. On an error the lists are emptied and
    // the error propagates.
    CacheRead Reload();
    // Every domain of the age window chosen again, none available, the
    // counts recomputed.
    void RebuildLists();
    // Releases the entries and tallies (the window closed).
    void Release();

    // --- choosing domains ---

    // Marks (or unmarks) a domain of a list, as a click in the list does;
    // the operations below move the marked ones.
    void Mark(DomainList list, std::size_t position, bool on = true);
    void ClearMarks(DomainList list);
    // Moves the marked domains to the other list; afterwards the domain now
    // at the first marked position of the list moved from is marked.
    void ChooseMarked();
    void UnchooseMarked();
    void ChooseAll();
    void UnchooseAll();

    // --- the age window and the types ---

    // A change of the age mode, number or unit rebuilds the lists for the
    // new window (every domain in it chosen again).
    void SetAgeMode(AgeMode mode);
    // The position of the number among AgeNumbers(); others are ignored.
    void SetAgeNumber(int index);
    // The unit, with the numbers it offers and the first of them.
    void SetAgeUnit(AgeUnit unit);
    // Types change what is taken, not the counts.
    void SetTypeIncluded(Category category, bool on);
    // A calendar window that narrows the age window: lower < Stamp < upper
    // (strict, like the age window). Rebuilds the lists.
    void SetDateWindow(std::int32_t lower, std::int32_t upper);
    // Only the entries whose address matches one of patterns (none: every
    // address) are counted and taken. Rebuilds the lists.
    void SetUrlPatterns(std::vector<std::string> patterns);

    // --- what it gives ---

    const CacheTraits& Traits() const { return traits_; }
    const std::shared_ptr<const CacheSource>& Source() const { return source_; }
    const CacheEntryList& Entries() const { return entries_; }
    // The entries, for a removal that takes some out of the list.
    CacheEntryList& MutableEntries() { return entries_; }
    const DomainTallyList& Tallies() const { return tallies_; }
    const NameList& List(DomainList list) const { return list == DomainList::Available ? available_ : chosen_; }
    const NameList& Available() const { return available_; }
    const NameList& Chosen() const { return chosen_; }

    AgeMode Mode() const { return mode_; }
    AgeUnit Unit() const { return unit_; }
    const std::vector<std::string>& AgeNumbers() const { return ageNumbers_; }
    int AgeNumberIndex() const { return ageIndex_; }
    bool TypeIncluded(Category category) const;

    std::int32_t AgeLower() const { return ageLower_; }
    std::int32_t AgeUpper() const { return ageUpper_; }
    std::int32_t NowStamp() const { return nowStamp_; }
    // The GMT adjustment of Reset: the hours the cache's time zone lies east of UTC.
    std::int32_t GmtHours() const { return gmtHours_; }

    const TypeCounts& Counts() const { return counts_; }
    // The counts of the included types added up, and of all three.
    std::uint64_t CheckedTotal() const;
    std::uint64_t AllTotal() const;
    // The check before a run or a deletion: something must be chosen.
    bool HasSomethingChosen() const { return CheckedTotal() != 0; }
    // Every entry of the cache is chosen: all ages, no domain left out, every
    // counted entry of an included type.
    bool ChoosesWholeCache() const;
    // What the run, the deletion and the export take.
    Selection Current() const;

    ProgressSink& progress() { return progress_; }

private:
    NameList& MutableList(DomainList list) { return list == DomainList::Available ? available_ : chosen_; }
    void MoveMarked(DomainList from);
    void MarkAfterMove(DomainList list, long position);
    void ApplyShownAgeWindow();
    void AgeWindowChanged();
    void Recount();

    ProgressSink& progress_;
    std::shared_ptr<const CacheSource> source_;
    ReadOptions readOptions_;
    CacheTraits traits_;

    CacheEntryList entries_;
    DomainTallyList tallies_;
    NameList available_;
    NameList chosen_;

    AgeMode mode_ = AgeMode::AllAges;
    AgeUnit unit_ = AgeUnit::Hours;
    std::vector<std::string> ageNumbers_ = AgeChoices(AgeUnit::Hours);
    int ageIndex_ = 0;
    bool includeText_ = true;
    bool includeMedia_ = true;
    bool includeOther_ = false;
    TypeCounts counts_;

    std::int32_t ageLower_ = 0;
    std::int32_t ageUpper_ = kNoUpperLimit;
    std::int32_t nowStamp_ = 0;
    std::int32_t gmtHours_ = 0;
    // The calendar window and the address patterns: none unless set.
    std::int32_t dateLower_ = INT32_MIN;
    std::int32_t dateUpper_ = INT32_MAX;
    std::vector<std::string> urlPatterns_;
};

}  // namespace restash
