// The hash reader over pages built byte by byte: the walk that reads a file
// whose header is damaged, and the chain reader's defences against links
// that lead nowhere or in circles.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/cache/hash_page_walk.h"
#include "core/cache/netscape_readers.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

// A page laid out as the hash package lays it out: the offset table grows
// from the front, pairs (key above its data) from the back.
class PageBuilder {
public:
    explicit PageBuilder(std::size_t size = 16384, bool bigEndian = false)
        : bytes_(size, '\0'), free_(static_cast<std::uint16_t>(size)), big_(bigEndian) {}

    PageBuilder& Put(const std::string& key, const std::string& data) {
        Place(key);
        Place(data);
        return *this;
    }
    PageBuilder& Put(const NsObject& o) { return Put(CacheKey(o), CacheRecord(o)); }
    PageBuilder& Link(std::uint16_t overflowAddress) {
        table_.push_back(overflowAddress);
        table_.push_back(0);
        return *this;
    }
    std::string Bytes() const {
        std::string out = bytes_;
        const std::size_t n = table_.size();
        SetWord(out, 0, static_cast<std::uint16_t>(n));
        for (std::size_t i = 0; i < n; ++i) SetWord(out, i + 1, table_[i]);
        SetWord(out, n + 1, static_cast<std::uint16_t>(free_ - (n + 3) * 2));
        SetWord(out, n + 2, free_);
        return out;
    }
    void SetWord(std::string& out, std::size_t index, std::uint16_t v) const {
        out[index * 2 + (big_ ? 1 : 0)] = static_cast<char>(v & 0xff);
        out[index * 2 + (big_ ? 0 : 1)] = static_cast<char>(v >> 8);
    }

private:
    void Place(const std::string& s) {
        free_ = static_cast<std::uint16_t>(free_ - s.size());
        bytes_.replace(free_, s.size(), s);
        table_.push_back(free_);
    }
    std::string bytes_;
    std::vector<std::uint16_t> table_;
    std::uint16_t free_;
    bool big_;
};

NsObject Object(int n, const std::string& mime = "text/html") {
    NsObject o;
    o.url = "http://host" + std::to_string(n) + ".example.org/" + std::to_string(n) + ".html";
    o.fileName = "F" + std::to_string(n) + ".HTM";
    o.mimeType = mime;
    o.lastAccessed = 900000000 + n;
    return o;
}

class PageWalkTest : public ::testing::Test {
protected:
    // Creates the cache file of every object.
    void Files(const std::vector<NsObject>& objects) {
        for (const NsObject& o : objects) WriteBytes(dir / o.fileName, "x");
    }
    // Page 0 stands for a header page the reader cannot use.
    CacheEntryList Read(const std::vector<std::string>& pages, ProgressSink& progress) {
        std::string file(16384, '\x5a');
        for (const std::string& p : pages) file += p;
        CacheEntryList entries;
        ReadHashIndex(file, CacheFolder(dir.path()), entries, progress);
        return entries;
    }
    CacheEntryList Read(const std::vector<std::string>& pages) {
        NullProgress progress;
        return Read(pages, progress);
    }
    static std::vector<std::string> Names(const CacheEntryList& entries) {
        std::vector<std::string> names;
        for (const CacheEntry& e : entries) names.push_back(e.Body.Name);
        return names;
    }
    TempDir dir;
};

TEST_F(PageWalkTest, ListsAPagesEntriesFromTheLowestPositionUp) {
    std::vector<NsObject> objects = {Object(1), Object(2, "image/gif"), Object(3)};
    Files(objects);
    PageBuilder page;
    for (const NsObject& o : objects) page.Put(o);
    RecordingProgress progress;
    const CacheEntryList entries = Read({page.Bytes(), PageBuilder().Bytes()}, progress);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"F3.HTM", "F2.HTM", "F1.HTM"}));
    EXPECT_EQ(entries[1].Url, "http://host2.example.org/2.html");
    EXPECT_EQ(entries[1].Domain, "host2.example.org");
    EXPECT_EQ(entries[1].MimeType, "IMAGE/GIF");
    EXPECT_EQ(entries[1].category, Category::Media);
    EXPECT_EQ(entries[1].Stamp, 900000002);
    EXPECT_EQ(progress.processCalls, 2);  // once per page after the header
}

TEST_F(PageWalkTest, PagesWithoutAUsableTableYieldNothing) {
    std::vector<NsObject> objects = {Object(1), Object(2)};
    Files(objects);
    std::string page = PageBuilder().Put(objects[0]).Put(objects[1]).Bytes();
    std::string none = page, tooMany = page;
    none[0] = none[1] = 0;
    tooMany[0] = 0, tooMany[1] = 0x40;  // 16,384 offsets
    EXPECT_TRUE(Read({none, tooMany}).empty());
    EXPECT_TRUE(Read({}).empty());  // the header page alone

    // Offsets that keep falling to the end of the page never show the end
    // pattern: the scan gives up at the page's end.
    std::string falling(16384, '\0');
    for (std::size_t i = 2; i < 8192; ++i) {
        falling[2 * i] = static_cast<char>((20000 - i) & 0xff);
        falling[2 * i + 1] = static_cast<char>((20000 - i) >> 8);
    }
    falling[0] = 2;
    EXPECT_TRUE(Read({falling}).empty());
}

// After a normal shutdown Netscape's bookkeeping records are the last pairs
// stored, so they sit at the start of the data area.
TEST_F(PageWalkTest, StartsAfterTheBookkeepingNameThatEndsFurthest) {
    std::vector<NsObject> objects = {Object(1), Object(2)};
    Files(objects);
    const std::string number(4, '\x07');
    PageBuilder one;
    one.Put(objects[0]).Put(objects[1]).Put("INT_DiskCacheSize", number);
    PageBuilder two;
    two.Put(Object(3)).Put(objects[0]).Put("INT_DiskCacheSize", number)
        .Put("INT_ExternalCacheNameString", std::string("Netscape Internal Disk Cache") + '\0')
        .Put("INT_DiskCacheNumber", number);
    Files({Object(3)});
    EXPECT_EQ(Names(Read({one.Bytes()})), (std::vector<std::string>{"F2.HTM", "F1.HTM"}));
    EXPECT_EQ(Names(Read({two.Bytes()})), (std::vector<std::string>{"F1.HTM", "F3.HTM"}));
}

TEST_F(PageWalkTest, FieldLengthsBoundWhatIsTaken) {
    NsObject longName = Object(1);
    longName.fileName = std::string(45, 'N') + ".HTM";  // length 50 with its zero
    NsObject shortName = Object(2);
    shortName.fileName = std::string(44, 'N') + ".HTM";
    NsObject longUrl = Object(3);
    longUrl.url = "http://long.example.org/" + std::string(600, 'u');
    NsObject longMime = Object(4, "application/" + std::string(48, 'q'));
    NsObject fourChars = Object(5, "text");
    Files({longName, shortName, longUrl, longMime, fourChars});
    PageBuilder page;
    for (const NsObject& o : {longName, shortName, longUrl, longMime, fourChars}) page.Put(o);
    const CacheEntryList entries = Read({page.Bytes()});
    ASSERT_EQ(Names(entries), (std::vector<std::string>{"F5.HTM", "F4.HTM", "F3.HTM", shortName.fileName}));
    EXPECT_EQ(entries[0].category, Category::Other);
    EXPECT_EQ(entries[1].MimeType, "APPLICATION/" + std::string(38, 'Q'));
    EXPECT_EQ(entries[1].category, Category::Other);
    EXPECT_EQ(entries[2].Url, "");
    EXPECT_EQ(entries[2].Domain, "");
}

TEST_F(PageWalkTest, DecodesAtMost250EntriesPerPage) {
    PageBuilder page;
    for (int n = 0; n < 260; ++n) {
        // The smallest pairs the walk can step through.
        const std::string name = std::to_string(100 + n);
        std::string data(29, '\0');
        data += std::string("\x04\0\0\0", 4) + name + '\0';
        data[0] = static_cast<char>(data.size());
        page.Put(std::string("\x0e\0\0\0\x02\0\0\0a\0\0\0\0\0", 14), data);
        WriteBytes(dir / name, "x");
    }
    const std::vector<std::string> names = Names(Read({page.Bytes()}));
    ASSERT_EQ(names.size(), 250u);
    EXPECT_EQ(names.front(), "359");
    EXPECT_EQ(names.back(), "110");
}

// The last page may end early; its missing part is read as zeros, never as
// what an earlier page held there.
TEST_F(PageWalkTest, AShortLastPageIsStillParsedAlone) {
    std::vector<NsObject> objects = {Object(1), Object(2)};
    Files(objects);
    const std::string full = PageBuilder().Put(objects[0]).Put(objects[1]).Bytes();
    EXPECT_EQ(Names(Read({full, full.substr(0, 200)})), (std::vector<std::string>{"F2.HTM", "F1.HTM"}));
    // Cut inside the key of the first pair stored: its record still names
    // the file, its address reads as zeros.
    const CacheEntryList cut = Read({full.substr(0, 16300)});
    EXPECT_EQ(Names(cut), (std::vector<std::string>{"F2.HTM", "F1.HTM"}));
    EXPECT_EQ(cut.at(1).Url, "");
}

// A header page for 4,096-byte pages, bucket 0 on page 1, overflow address
// k on page 1 + k.
std::string Header() {
    std::string h(4096, '\0');
    auto word = [&](std::size_t index, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) h[index * 4 + i] = static_cast<char>(v >> (8 * (3 - i)));
    };
    word(0, 0x061561);
    word(1, 2);
    word(2, 1234);
    word(3, 4096);
    word(4, 12);
    word(15, 1);  // header pages
    return h;
}

TEST_F(PageWalkTest, ChainsAreFollowedOnceAndFreedPagesAreNotRead) {
    std::vector<NsObject> objects = {Object(1), Object(2), Object(3), Object(4)};
    Files(objects);
    const std::string bucket = PageBuilder(4096).Put(objects[0]).Link(2).Bytes();
    const std::string overflow = PageBuilder(4096).Put(objects[1]).Link(0).Bytes();  // back to the bucket
    const std::string freed = PageBuilder(4096).Put(objects[2]).Put(objects[3]).Bytes();
    const std::string file = Header() + bucket + freed + overflow;
    CacheEntryList entries;
    RecordingProgress progress;
    ReadHashIndex(file, CacheFolder(dir.path()), entries, progress);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"F1.HTM", "F2.HTM"}));
    EXPECT_EQ(progress.processCalls, 2);
}

TEST_F(PageWalkTest, BigEndianPageWordsAndBrokenOffsets) {
    std::vector<NsObject> objects = {Object(1), Object(2), Object(3)};
    Files(objects);
    std::string header = Header();
    header[11] = static_cast<char>(4321 & 0xff), header[10] = static_cast<char>(4321 >> 8);
    PageBuilder builder(4096, true);
    builder.Put(objects[0]).Put(objects[1]).Put(objects[2]);
    std::string page = builder.Bytes();
    CacheEntryList entries;
    NullProgress progress;
    ReadHashIndex(header + page, CacheFolder(dir.path()), entries, progress);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"F3.HTM", "F2.HTM", "F1.HTM"}));

    // The second pair's key offset pointing past the page loses that pair only.
    builder.SetWord(page, 3, 5000);
    entries.clear();
    ReadHashIndex(header + page, CacheFolder(dir.path()), entries, progress);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"F3.HTM", "F1.HTM"}));
}

}  // namespace
}  // namespace restash::test
