#include "gui/selection_view.h"

namespace restash {

std::vector<std::string> SelectionView::AgeModeItems() { return {kAgeModeTexts.begin(), kAgeModeTexts.end()}; }

std::vector<std::string> SelectionView::AgeUnitItems() { return {kAgeUnitTexts.begin(), kAgeUnitTexts.end()}; }

CountPanel SelectionView::Panel(Category category) const {
    return {std::to_string(state_.Counts().Of(category)), !state_.TypeIncluded(category)};
}

void SelectionView::SetBusy(bool on, std::string_view caption) {
    busy_ = on;
    caption_ = std::string(caption);
}

}  // namespace restash
