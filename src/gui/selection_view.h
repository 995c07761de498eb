#pragma once
// What the selection window's widgets show, worked out from the selection
// state of the core and the window's own state: which buttons are enabled,
// the items and positions of the three combo boxes, the texts and colours of
// the count panels, whether the busy panel shows and with which caption, and
// which list has the keyboard focus. Qt-free, so its rules are tested alone.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/selection/cache_selection.h"

namespace restash {

// The items of the age mode box and the unit box, in the order of the enums.
inline constexpr std::array<const char*, 3> kAgeModeTexts = {"All ages", "Newer than", "Older than"};
inline constexpr std::array<const char*, 3> kAgeUnitTexts = {"Hour(s)", "Day(s)", "Week(s)"};

// A count panel: its caption and whether it is drawn grey (a type that is
// not taken) instead of in the window-text colour.
struct CountPanel {
    std::string text;
    bool grey = false;
};

class SelectionView {
public:
    explicit SelectionView(const CacheSelection& state) : state_(state) {}

    // ">" and ">>" move available domains, "<" and "<<" chosen ones.
    bool IncludeEnabled() const { return !state_.Available().empty(); }
    bool ExcludeEnabled() const { return !state_.Chosen().empty(); }
    // The number and unit boxes only mean something with an age limit.
    bool AgeControlsEnabled() const { return state_.Mode() != AgeMode::AllAges; }

    int AgeModeIndex() const { return static_cast<int>(state_.Mode()); }
    int AgeUnitIndex() const { return static_cast<int>(state_.Unit()); }
    const std::vector<std::string>& AgeNumberItems() const { return state_.AgeNumbers(); }
    int AgeNumberIndex() const { return state_.AgeNumberIndex(); }
    static std::vector<std::string> AgeModeItems();
    static std::vector<std::string> AgeUnitItems();

    CountPanel Panel(Category category) const;

    // The busy panel over the lists, told by the progress sink.
    void SetBusy(bool on, std::string_view caption);
    bool BusyShown() const { return busy_; }
    const std::string& BusyCaption() const { return caption_; }
    // The controls take input when nothing works and nothing is busy.
    bool ControlsEnabled(bool working) const { return !busy_ && !working; }

    // The list a move took domains from keeps the keyboard focus.
    void MovedFrom(DomainList list) { focus_ = list; }
    DomainList Focus() const { return focus_; }

private:
    const CacheSelection& state_;
    bool busy_ = false;
    std::string caption_ = kReadingCaption;
    DomainList focus_ = DomainList::Available;
};

}  // namespace restash
