#pragma once
// A sorted multi-select list of domain names ("Available Domains",
// "Uncache/Delete"): alphabetical without regard to letter case, names that
// compare equal in the order in which they were added.
#include <cstddef>
#include <string>
#include <vector>

namespace restash {

struct NameItem {
    std::string name;
    bool selected = false;
};

class NameList {
public:
    const std::vector<NameItem>& Items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::string& Name(std::size_t i) const { return items_[i].name; }
    bool IsSelected(std::size_t i) const { return items_[i].selected; }
    std::vector<std::string> Names() const;

    void Clear() { items_.clear(); }
    // Adds one name at its sorted place, after every name equal to it.
    void Add(std::string name);
    // Adds names in the given order, as repeated Add would, in one merge.
    void AddAll(std::vector<std::string> names);

    void Select(std::size_t i, bool on = true) { items_.at(i).selected = on; }
    void ClearSelection();
    // The position of the first selected item, or -1 when none is.
    long FirstSelected() const;
    // Removes every selected item; returns their names from the last
    // position to the first (the order in which a move adds them elsewhere).
    std::vector<std::string> TakeSelected();

private:
    std::vector<NameItem> items_;
};

}  // namespace restash
