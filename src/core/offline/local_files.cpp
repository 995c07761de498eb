#include "core/offline/local_files.h"

#include "core/platform/text.h"

namespace restash {

void LocalFiles::Add(LocalFile file) {
    first_.try_emplace(ToUpperAscii(file.url), records_.size());
    records_.push_back(std::move(file));
}

std::string_view LocalFiles::Find(std::string_view address) const {
    const auto it = first_.find(ToUpperAscii(address));
    if (it == first_.end()) return {};
    return records_[it->second].path;
}

void LocalFiles::clear() {
    records_.clear();
    first_.clear();
}

bool HistoryPaths::Contains(std::string_view path) const { return folded_.count(ToUpperAscii(path)) != 0; }

bool HistoryPaths::Add(std::string_view path) {
    if (!folded_.insert(ToUpperAscii(path)).second) return false;
    paths_.emplace_back(path);
    return true;
}

void HistoryPaths::clear() {
    paths_.clear();
    folded_.clear();
}

}  // namespace restash
