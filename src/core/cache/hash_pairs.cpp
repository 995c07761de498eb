#include "core/cache/hash_pairs.h"

#include <algorithm>
#include <optional>

#include "core/cache/hash_bytes.h"

namespace restash {
namespace {

// Markers in the second slot of an offset-table pair.
constexpr std::uint16_t kOverflowLink = 0;
constexpr std::uint16_t kPartialKey = 1;
constexpr std::uint16_t kFullKey = 2;
constexpr std::uint16_t kFullKeyData = 3;
constexpr std::uint16_t kRealKey = 4;

class PairCollector {
public:
    PairCollector(std::string_view file, const HashHeader& header)
        : file_(file),
          h_(header),
          pageCount_((file.size() + header.pageSize - 1) / header.pageSize),
          seen_(pageCount_, false) {
        // Header pages and free-page bitmaps never hold pairs.
        for (std::uint64_t p = 0; p < h_.headerPages && p < pageCount_; ++p) seen_[p] = true;
        for (std::uint16_t address : h_.bitmaps) {
            if (address == 0) continue;
            const std::uint64_t p = h_.OverflowPage(address);
            if (p < pageCount_) seen_[p] = true;
        }
    }

    LiveHashContents Run() {
        for (std::uint64_t bucket = 0; bucket <= h_.maxBucket; ++bucket) {
            const std::uint64_t page = h_.BucketPage(static_cast<std::uint32_t>(bucket));
            // Bucket pages grow with the bucket number: once one lies past
            // the end of the file (never written, so empty) all later ones do.
            if (page >= pageCount_) break;
            WalkChain(page);
        }
        std::sort(out_.pages.begin(), out_.pages.end());
        std::stable_sort(out_.pairs.begin(), out_.pairs.end(), [](const HashPair& a, const HashPair& b) {
            return a.page != b.page ? a.page < b.page : a.position < b.position;
        });
        return std::move(out_);
    }

private:
    // Claims a page for reading; false when it is outside the file or was
    // read already (a damaged link must not make a loop).
    bool Enter(std::uint64_t page) {
        if (page >= pageCount_ || seen_[page]) return false;
        seen_[page] = true;
        out_.pages.push_back(page);
        return true;
    }
    // The same for a page a link leads to, which a sound file always holds.
    bool EnterLinked(std::uint64_t page) {
        if (Enter(page)) return true;
        if (page >= pageCount_)
            out_.pagesMissing = true;
        else
            Broken();
        return false;
    }
    void Broken() { ++out_.brokenPages; }
    std::optional<std::uint64_t> BrokenPair() {
        Broken();
        return std::nullopt;
    }

    std::string_view Page(std::uint64_t page) const {
        const std::uint64_t start = page * h_.pageSize;
        return file_.substr(static_cast<std::size_t>(start), h_.pageSize);
    }
    std::uint16_t Word(std::string_view page, std::size_t index) const {
        return ReadU16(page, index * 2, h_.bigEndianPages);
    }
    // The bytes [from, to) of a page, or nothing when they do not lie inside
    // what the file holds of it.
    static std::optional<std::string_view> Span(std::string_view page, std::size_t from, std::size_t to) {
        if (from > to || to > page.size()) return std::nullopt;
        return page.substr(from, to - from);
    }
    // The offset table must fit in front of the data it describes.
    bool TableFits(std::uint16_t n) const { return (std::size_t{n} + 3) * 2 <= h_.pageSize; }

    void WalkChain(std::uint64_t page) {
        for (bool entered = Enter(page); entered; entered = EnterLinked(page)) {
            const std::string_view bytes = Page(page);
            const std::uint16_t n = Word(bytes, 0);
            if (n == 0) return;
            if (!TableFits(n)) return Broken();
            std::optional<std::uint64_t> next;
            bool brokenHere = false;
            for (std::uint16_t ndx = 1; ndx + 1 <= n; ndx += 2) {
                const std::uint16_t first = Word(bytes, ndx);
                const std::uint16_t second = Word(bytes, ndx + 1);
                if (second == kOverflowLink) {
                    next = h_.OverflowPage(first);
                    break;
                }
                if (second < kRealKey) {
                    // A pair too big for a page fills pages of its own and
                    // always starts a page.
                    if (ndx == 1) next = CollectBigPair(page, bytes);
                    break;
                }
                const std::size_t keyEnd = ndx > 1 ? Word(bytes, ndx - 1) : h_.pageSize;
                const auto key = Span(bytes, first, keyEnd);
                const auto data = Span(bytes, second, first);
                if (second < (std::size_t{n} + 3) * 2 || !key || !data) {
                    brokenHere = true;
                    continue;
                }
                out_.pairs.push_back({page, second, *key, *data});
            }
            if (brokenHere) Broken();
            if (!next) return;
            page = *next;
        }
    }

    // The next page of a big pair, entered; nothing when the link is broken.
    std::optional<std::string_view> Follow(std::string_view bytes, std::uint64_t& page) {
        const std::uint16_t n = Word(bytes, 0);
        if (n < 2) {
            Broken();
            return std::nullopt;
        }
        const std::uint64_t next = h_.OverflowPage(Word(bytes, n - 1));
        if (!EnterLinked(next)) return std::nullopt;
        page = next;
        return Page(next);
    }

    // Appends the tail [offset, page size) of a page of a big pair.
    bool AppendTail(std::string_view bytes, std::string& to) const {
        const auto tail = Span(bytes, Word(bytes, 1), h_.pageSize);
        if (!tail) return false;
        to.append(*tail);
        return true;
    }

    // Puts together the big pair that starts on firstPage (already entered)
    // and returns the page where the bucket's chain goes on, if any.
    std::optional<std::uint64_t> CollectBigPair(std::uint64_t firstPage, std::string_view bytes) {
        const std::uint32_t position = Word(bytes, 1);
        std::string key, data;
        std::uint64_t page = firstPage;
        // The key: the tails of pages up to the one marked as ending it.
        for (;;) {
            const std::uint16_t n = Word(bytes, 0);
            if (n < 2 || !TableFits(n) || !AppendTail(bytes, key)) return BrokenPair();
            const std::uint16_t marker = Word(bytes, 2);
            if (marker == kFullKey || marker == kFullKeyData) break;
            if (marker != kPartialKey) return BrokenPair();
            const auto next = Follow(bytes, page);
            if (!next) return std::nullopt;  // Follow said why
            bytes = *next;
        }
        std::uint16_t n = Word(bytes, 0);
        if (Word(bytes, 2) == kFullKeyData) {
            // The data begins below the key on its last page.
            if (n < 4) return BrokenPair();
            const auto head = Span(bytes, Word(bytes, n), Word(bytes, 1));
            if (!head) return BrokenPair();
            data.append(*head);
            // Free space left on the page says the data ends here too.
            if (Word(bytes, n + 1) != 0) {
                AddAssembled(firstPage, position, std::move(key), std::move(data));
                return n > 2 ? std::optional(h_.OverflowPage(Word(bytes, n - 1))) : std::nullopt;
            }
        }
        // The rest of the data: the tails of the following pages.
        for (;;) {
            const auto next = Follow(bytes, page);
            if (!next) return std::nullopt;  // Follow said why
            bytes = *next;
            n = Word(bytes, 0);
            if (n < 2 || !TableFits(n) || !AppendTail(bytes, data)) return BrokenPair();
            const std::uint16_t marker = Word(bytes, 2);
            if (marker == kFullKeyData) break;
            if (marker != kFullKey) return BrokenPair();
        }
        AddAssembled(firstPage, position, std::move(key), std::move(data));
        return n > 2 ? std::optional(h_.OverflowPage(Word(bytes, n - 1))) : std::nullopt;
    }

    void AddAssembled(std::uint64_t page, std::uint32_t position, std::string key, std::string data) {
        // The strings stay where they are when the vector of owners grows.
        const std::string* k = out_.assembled.emplace_back(std::make_unique<const std::string>(std::move(key))).get();
        const std::string* d = out_.assembled.emplace_back(std::make_unique<const std::string>(std::move(data))).get();
        out_.pairs.push_back({page, position, *k, *d});
    }

    std::string_view file_;
    const HashHeader& h_;
    std::uint64_t pageCount_;
    std::vector<bool> seen_;
    LiveHashContents out_;
};

}  // namespace

LiveHashContents CollectLivePairs(std::string_view file, const HashHeader& header) {
    return PairCollector(file, header).Run();
}

}  // namespace restash
