#pragma once
// The key/data pairs a Berkeley DB 1.x hash file holds now: every bucket in
// use and its chain of overflow pages, big pairs put together again from the
// pages they span. Header, bitmap and freed pages are never read, so pairs
// left behind on freed pages are not seen.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/cache/hash_header.h"

namespace restash {

// A pair that lies on one page is seen where it is in the file; a big pair
// is put together in storage of its own.
struct HashPair {
    std::uint64_t page = 0;      // the file page the pair starts on
    std::uint32_t position = 0;  // its lowest byte on that page
    std::string_view key;
    std::string_view data;
};

struct LiveHashContents {
    std::vector<std::uint64_t> pages;  // every live page, in file order
    std::vector<HashPair> pairs;       // by page, then from the lowest position upwards
    std::vector<std::unique_ptr<const std::string>> assembled;  // the bytes of the big pairs
    // What the walk found damaged: pages that fail their structural checks
    // (an offset table that does not fit, pairs outside the page, a broken
    // big pair, a link back to a page already read), and links to pages past
    // the end of the file.
    std::size_t brokenPages = 0;
    bool pagesMissing = false;
};

// Damaged links and offsets end a chain or drop a pair; a page is read at
// most once, so no file makes this loop. The pairs point into file, which
// must outlive them.
LiveHashContents CollectLivePairs(std::string_view file, const HashHeader& header);

}  // namespace restash
