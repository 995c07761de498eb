#include "core/selection/name_list.h"

#include <algorithm>
#include <iterator>

#include "core/platform/text.h"

namespace restash {
namespace {

bool Before(const NameItem& a, const NameItem& b) { return CompareNoCase(a.name, b.name) < 0; }

}  // namespace

std::vector<std::string> NameList::Names() const {
    std::vector<std::string> out;
    out.reserve(items_.size());
    for (const NameItem& item : items_) out.push_back(item.name);
    return out;
}

void NameList::Add(std::string name) {
    NameItem item{std::move(name), false};
    auto at = std::upper_bound(items_.begin(), items_.end(), item, Before);
    items_.insert(at, std::move(item));
}

void NameList::AddAll(std::vector<std::string> names) {
    std::vector<NameItem> added;
    added.reserve(names.size());
    for (std::string& n : names) added.push_back(NameItem{std::move(n), false});
    // Stable sort, then a merge that puts the items already present first
    // among equals: the order repeated insertion would give.
    std::stable_sort(added.begin(), added.end(), Before);
    std::vector<NameItem> merged;
    merged.reserve(items_.size() + added.size());
    std::merge(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), Before);
    items_ = std::move(merged);
}

void NameList::ClearSelection() {
    for (NameItem& item : items_) item.selected = false;
}

long NameList::FirstSelected() const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].selected) return static_cast<long>(i);
    return -1;
}

std::vector<std::string> NameList::TakeSelected() {
    std::vector<std::string> taken;
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->selected) taken.push_back(it->name);
    std::erase_if(items_, [](const NameItem& item) { return item.selected; });
    return taken;
}

}  // namespace restash
