#pragma once
// LocalFiles: one record per cache file copied in a run, in copy order, and
// HistoryPaths: the local paths a history record was written for. Both answer
// their look-ups in constant time with exactly the result of a walk from the
// first record: the first record whose address matches without regard to
// ASCII letter case wins.
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace restash {

struct LocalFile {
    std::string url;   // NormaliseURL of the entry's URL
    std::string path;  // relative to the offline root, "/" as separator: PAGE.HTM, MEDIA/LOGO.GIF
};

class LocalFiles {
public:
    void Add(LocalFile file);
    // The path of the first record whose url equals address without regard
    // to ASCII case; empty when there is none.
    std::string_view Find(std::string_view address) const;
    const std::vector<LocalFile>& records() const { return records_; }
    std::size_t size() const { return records_.size(); }
    void clear();

private:
    std::vector<LocalFile> records_;
    std::unordered_map<std::string, std::size_t> first_;  // upper-cased url -> first index
};

class HistoryPaths {
public:
    // True when path (without regard to case) is already there.
    bool Contains(std::string_view path) const;
    // Adds path when it is not there; returns whether it was added.
    bool Add(std::string_view path);
    const std::vector<std::string>& paths() const { return paths_; }
    void clear();

private:
    std::vector<std::string> paths_;
    std::unordered_set<std::string> folded_;
};

}  // namespace restash
