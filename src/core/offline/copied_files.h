#pragma once
// CopiedFiles: one record per cache file a run copied, in copy order, from the
// copy through the link conversion to the page list and the index pages; and
// HistoryPaths: the local paths a history record was written for. Both answer
// their look-ups in constant time with exactly the result of a walk from the
// first record: the first record whose address matches without regard to
// ASCII letter case wins.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace restash {

struct CopiedFile {
    std::string url;      // the entry's URL after the "/./" clean-up, as the page list shows it
    std::string address;  // NormaliseURL(url): the address links are looked up by
    std::string domain;   // EntryDomain(url): the domain whose index pages list it
    std::string path;     // relative to the offline root, "/" as separator: PAGE.HTM, MEDIA/LOGO.GIF
    bool page = false;    // an HTML page, converted into the root
    std::string baseURL;  // a page's folder, where its relative links start from
    bool listed = false;  // a page that was converted: on the page list and the index pages
    std::string title;    // a listed page's title, in UTF-8
};

class CopiedFiles {
public:
    // A copied file, by the cleaned URL its entry was cached under (address
    // and domain are worked out here, once); returns its number.
    std::size_t Add(std::string url, std::string path);
    // A copied page, whose links are still to be converted.
    std::size_t AddPage(std::string url, std::string path, std::string baseURL);
    // Page number was converted: it is listed, under title.
    void List(std::size_t number, std::string title);

    // The path of the first record whose address equals address without
    // regard to ASCII case; empty when there is none.
    std::string_view Find(std::string_view address) const;
    const std::vector<CopiedFile>& records() const { return records_; }
    std::size_t size() const { return records_.size(); }
    void clear();

private:
    std::vector<CopiedFile> records_;
    std::unordered_map<std::string, std::size_t> first_;  // upper-cased address -> first index
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
