#include "core/offline/copied_files.h"

#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash {

std::size_t CopiedFiles::Add(std::string url, std::string path) {
    CopiedFile file;
    file.address = NormaliseURL(url);
    // The chosen list names a domain by its first 50 characters: the index
    // pages find a file's domain by that name.
    file.domain = EntryDomain(url);
    file.url = std::move(url);
    file.path = std::move(path);
    first_.try_emplace(ToUpperAscii(file.address), records_.size());
    records_.push_back(std::move(file));
    return records_.size() - 1;
}

std::size_t CopiedFiles::AddPage(std::string url, std::string path, std::string baseURL) {
    const std::size_t number = Add(std::move(url), std::move(path));
    records_[number].page = true;
    records_[number].baseURL = std::move(baseURL);
    return number;
}

void CopiedFiles::List(std::size_t number, std::string title) {
    records_.at(number).listed = true;
    records_[number].title = std::move(title);
}

std::string_view CopiedFiles::Find(std::string_view address) const {
    const auto it = first_.find(ToUpperAscii(address));
    if (it == first_.end()) return {};
    return records_[it->second].path;
}

void CopiedFiles::clear() {
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
