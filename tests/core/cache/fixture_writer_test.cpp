// The fixture writers are checked against independent tools: db_dump185
// (from libdb1-compat) must list exactly the live pairs, and the records must
// sit where the hash reader looks for their fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "tests/support/db185.h"
#include "tests/support/md5.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

std::uint32_t Le16(const std::string& b, std::size_t at) {
    return std::uint8_t(b.at(at)) | std::uint32_t(std::uint8_t(b.at(at + 1))) << 8;
}
std::uint32_t Le32(const std::string& b, std::size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

// Every pair of a DB 1.85 file as db_dump185 prints it (hex form).
std::map<std::string, std::string> DumpPairs(const std::string& file) {
    std::string command = "db_dump185 '" + file + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run db_dump185");
    std::string output;
    char buf[65536];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
    int status = pclose(pipe);
    if (status != 0) throw std::runtime_error("db_dump185 failed: " + output);
    std::istringstream lines(output);
    std::string line;
    bool inData = false;
    std::vector<std::string> items;
    while (std::getline(lines, line)) {
        if (line == "HEADER=END") inData = true;
        else if (line == "DATA=END") break;
        else if (inData) items.push_back(FromHex(line.substr(line.starts_with(' ') ? 1 : 0)));
    }
    std::map<std::string, std::string> pairs;
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        EXPECT_TRUE(pairs.emplace(items[i], items[i + 1]).second) << "key listed twice";
    }
    return pairs;
}

NsObject Page(int n, int version = 3) {
    NsObject o;
    o.url = "http://www" + std::to_string(n % 7) + ".example.com/dir" + std::to_string(n % 13) + "/page" +
            std::to_string(n) + ".html";
    o.fileName = "M" + std::to_string(1000000 + n) + ".HTM";
    o.mimeType = n % 3 ? "text/html" : "image/gif";
    o.body = "<HTML><BODY>page " + std::to_string(n) + "</BODY></HTML>";
    o.lastModified = 850000000 + n;
    o.lastAccessed = 860000000 + n * 17 % 5000;
    o.version = version;
    return o;
}

std::string Int32(std::int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xff));
    return s;
}

class FixtureWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!db185::Available()) GTEST_SKIP() << "libdb1-compat is not installed";
    }
    TempDir dir;
};

TEST(Md5Test, MatchesTheRfcTestSuite) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
    EXPECT_EQ(Md5Hex("The quick brown fox jumps over the lazy dog"), "9e107d9d372bb6826bd81d3542a419d6");
    EXPECT_EQ(Md5("a"), std::string("\x0c\xc1\x75\xb9\xc0\xf1\xb6\xa8\x31\xc3\x99\xe2\x69\x77\x26\x61", 16));
}

// The pair as it lies on a page: the data, then the key right above it.
struct Decoded {
    std::uint32_t stamp, b, c, m, e, f;
    std::string fileName, mime, url;
};
Decoded DecodeAtFixedOffsets(const std::string& pair) {
    Decoded d{};
    std::size_t a = Le16(pair, 0);
    std::size_t k = a + 4;
    d.stamp = Le32(pair, 12);
    d.b = Le16(pair, 29);
    d.fileName = pair.substr(33, d.b - 1);
    d.c = Le16(pair, d.b + 62);
    std::size_t t = d.b + d.c + 66;
    d.m = Le16(pair, t);
    d.mime = d.m > 1 ? pair.substr(t + 4, d.m - 1) : "";
    d.e = Le16(pair, k);
    d.url = pair.substr(k + 4, d.e - 1);
    d.f = Le16(pair, k + d.e + 4);
    return d;
}

TEST(CacheRecordTest, PlainVersion3RecordSitsAtTheReadersFixedOffsets) {
    NsObject o = Page(5);
    o.url = "http://host.example/a.html#part";
    o.fileName = "00/cache33BAD64001B0829.html";
    const std::string key = CacheKey(o);
    const std::string data = CacheRecord(o);
    EXPECT_EQ(Le32(data, 0), data.size());
    EXPECT_EQ(Le32(data, 4), 3u);
    EXPECT_EQ(Le32(key, 0), key.size());

    Decoded d = DecodeAtFixedOffsets(data + key);
    EXPECT_EQ(d.stamp, std::uint32_t(o.lastAccessed));
    EXPECT_EQ(d.fileName, o.fileName);
    EXPECT_EQ(d.c, 0u);  // no post headers
    EXPECT_EQ(d.mime, "text/html");
    EXPECT_EQ(d.url, "http://host.example/a.html");  // the key ends at the "#"
    EXPECT_EQ(d.f, 0u);
    EXPECT_EQ(key.size(), 4 + 4 + d.e + 4);
}

TEST(CacheRecordTest, PostRepliesCarryHeadersAndTheDigestOfTheirData) {
    NsObject o = Page(6);
    o.postData = "q=netscape&x=1";
    const std::string key = CacheKey(o);
    Decoded d = DecodeAtFixedOffsets(CacheRecord(o) + key);
    EXPECT_GT(d.c, 1u);  // the post headers are what the reader skips as C
    EXPECT_EQ(d.mime, "image/gif");
    EXPECT_EQ(d.f, 16u);
    EXPECT_EQ(key.substr(key.size() - 16), Md5(o.postData));
    NsObject other = o;
    other.postData = "q=mozilla";
    EXPECT_NE(CacheKey(other), key);
}

TEST(CacheRecordTest, SecureAndVersion5RecordsMoveTheContentType) {
    NsObject o = Page(7);
    o.mimeType = "text/plain";
    o.charset = "iso-8859-1";
    o.secure = true;
    std::string v3 = CacheRecord(o);
    std::size_t b = Le16(v3, 29);
    // Version 3: the cipher string and the certificate block come before the method.
    std::size_t cipherAt = 33 + b + 4 + 1 + 4 + 4 + 4;
    ASSERT_EQ(Le32(v3, cipherAt), o.cipher.size() + 1);
    std::size_t certAt = cipherAt + 4 + o.cipher.size() + 1;
    ASSERT_EQ(Le32(v3, certAt), o.certificate.size());
    std::size_t typeAt = certAt + 4 + o.certificate.size() + 4 + 4;
    EXPECT_EQ(v3.substr(typeAt, 15), Int32(11) + "text/plain" + std::string(1, '\0'));

    o.version = 5;
    std::string v5 = CacheRecord(o);
    EXPECT_EQ(Le32(v5, 4), 5u);
    std::size_t secAt = 33 + b + 4 + 1 + 4;
    std::size_t secLen = Le32(v5, secAt);
    EXPECT_EQ(secLen, o.cipher.size() + 1 + o.certificate.size());
    typeAt = secAt + 4 + secLen + 4 + 4;
    EXPECT_EQ(v5.substr(typeAt, 15), Int32(11) + "text/plain" + std::string(1, '\0'));
    // then content_encoding (none) and the charset
    EXPECT_EQ(Le32(v5, typeAt + 15), 0u);
    EXPECT_EQ(v5.substr(typeAt + 19, 15), Int32(11) + "iso-8859-1" + std::string(1, '\0'));

    // Without security, version 5 is 8 bytes shorter before the type than version 3.
    o.secure = false;
    std::string plain5 = CacheRecord(o);
    EXPECT_EQ(plain5.substr(33 + b + 4 + 1 + 4 + 4 + 4 + 4, 15), Int32(11) + "text/plain" + std::string(1, '\0'));
}

struct Layout {
    unsigned pageSize;
    bool bigEndian;
};

class SessionTest : public FixtureWriterTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(SessionTest, DumpListsEveryLivePairAfterReplacementsAndEvictions) {
    HashCacheOptions options;
    options.pageSize = GetParam().pageSize;
    options.bigEndian = GetParam().bigEndian;
    HashCacheWriter writer(dir / "cache", "FAT.DB", options);

    writer.BeginSession();
    for (int n = 0; n < 400; ++n) writer.Put(Page(n, n % 5 ? 3 : 5));
    // Netscape's clean-up mid-session puts the special records among the pairs.
    writer.EvictOldest(25);
    writer.EndSession(false);

    writer.BeginSession();
    for (int n = 0; n < 400; n += 7) {  // replacements under a new file name
        NsObject o = Page(n);
        o.fileName = "R" + std::to_string(n) + ".HTM";
        o.lastAccessed = 870000000 + n;
        try {
            writer.Remove(o.url);  // evicted ones are gone: put them back afresh
        } catch (const std::invalid_argument&) {
        }
        writer.Put(o);
        writer.Put(o);  // storing the same object twice keeps one pair
    }
    for (int n = 1; n < 400; n += 11) {
        try {
            writer.Remove(Page(n).url);
        } catch (const std::invalid_argument&) {
        }
    }
    for (int n = 400; n < 520; ++n) writer.Put(Page(n));
    writer.EndSession(true);

    auto pairs = DumpPairs(writer.IndexPath());
    std::map<std::string, std::string> expected;
    for (const NsObject& o : writer.Live()) expected[CacheKey(o)] = CacheRecord(o);
    const auto live = writer.Live().size();
    expected[kDiskCacheSizeKey] = pairs.count(kDiskCacheSizeKey) ? pairs[kDiskCacheSizeKey] : "missing";
    expected[kDiskCacheNumberKey] = Int32(std::int32_t(live));
    expected[kExternalCacheNameKey] = std::string("Netscape Internal Disk Cache") + '\0';
    EXPECT_EQ(pairs.size(), expected.size());
    EXPECT_TRUE(pairs == expected);
    EXPECT_EQ(pairs[kDiskCacheSizeKey].size(), 4u);
    EXPECT_LT(live, 520u);
    EXPECT_GT(live, 400u);

    // The cache folder holds exactly the live objects' files.
    std::set<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir / "cache"))
        if (e.path().filename() != "FAT.DB") files.insert(e.path().filename().string());
    std::set<std::string> liveFiles;
    for (const NsObject& o : writer.Live()) liveFiles.insert(o.fileName);
    EXPECT_EQ(files, liveFiles);

    // The header page records, always big-endian, the byte order and page
    // size asked for; the page words follow that byte order.
    std::string file = ReadBytes(writer.IndexPath());
    auto be32 = [&](std::size_t at) {
        std::string word = file.substr(at, 4);
        return Le32(std::string(word.rbegin(), word.rend()), 0);
    };
    EXPECT_EQ(be32(0), 0x061561u);
    EXPECT_EQ(be32(8), GetParam().bigEndian ? 4321u : 1234u);
    EXPECT_EQ(be32(12), GetParam().pageSize);
    EXPECT_EQ(file.size() % GetParam().pageSize, 0u);
    const std::size_t page1 = GetParam().pageSize;
    std::uint32_t pairsOnPage1 = GetParam().bigEndian ? (std::uint32_t(std::uint8_t(file[page1])) << 8 | std::uint8_t(file[page1 + 1]))
                                                      : Le16(file, page1);
    EXPECT_GT(pairsOnPage1, 0u);
    EXPECT_LT(pairsOnPage1, GetParam().pageSize / 8);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SessionTest,
                         ::testing::Values(Layout{16384, false}, Layout{4096, false}, Layout{4096, true},
                                           Layout{16384, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.pageSize) + (info.param.bigEndian ? "BigEndian" : "");
                         });

TEST_F(FixtureWriterTest, SpecialRecordsComeOnlyWithANormalShutdown) {
    HashCacheWriter writer(dir / "c");
    writer.BeginSession();
    writer.Put(Page(1));
    writer.Put(Page(2));
    writer.EndSession(false);
    auto pairs = DumpPairs(writer.IndexPath());
    EXPECT_EQ(pairs.size(), 2u);

    writer.BeginSession();
    writer.Remove(Page(1).url);
    EXPECT_FALSE(FileExists(dir / "c/" + Page(1).fileName));
    writer.EndSession(true);
    pairs = DumpPairs(writer.IndexPath());
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[kDiskCacheNumberKey], Int32(1));
    EXPECT_EQ(pairs[kDiskCacheSizeKey], Int32(std::int32_t(Page(2).body.size())));
    EXPECT_THROW(writer.Remove("http://nowhere.example/"), std::logic_error);  // no session open
}

TEST_F(FixtureWriterTest, HugeAddressesRoundTripAsBigPairs) {
    for (auto [pageSize, length] : {std::pair{4096u, 9000}, std::pair{16384u, 20000}}) {
        HashCacheOptions options;
        options.pageSize = pageSize;
        NsObject big = Page(3);
        big.url = "http://long.example/q?" + std::string(std::size_t(length) - 22, 'x');
        big.fileName = "00/cache33BAD64001B0829.html";
        std::string folder = dir / ("big" + std::to_string(pageSize));
        std::vector<NsObject> objects = {Page(1), big, Page(2)};
        std::string index = WriteHashCache(folder, objects, options);
        auto pairs = DumpPairs(index);
        ASSERT_EQ(pairs.count(CacheKey(big)), 1u) << pageSize;
        EXPECT_EQ(pairs[CacheKey(big)], CacheRecord(big));
        EXPECT_EQ(pairs.size(), 6u);
        EXPECT_EQ(ReadBytes(folder + "/00/cache33BAD64001B0829.html"), big.body);
        // Too big for one page: no page holds the whole address.
        EXPECT_EQ(ReadBytes(index).find(big.url), std::string::npos);
    }
}

TEST_F(FixtureWriterTest, TextCacheHasItsHeaderAndSevenTabbedFieldsPerLine) {
    NsObject o = Page(4);
    o.fileName = "MZ000004.HTM";
    NsObject sub = Page(8);
    sub.fileName = "01/cache8.html";
    sub.writeFile = false;
    std::string index = WriteTextCache(dir / "t", {o, sub});
    std::string bytes = ReadBytes(index);
    const std::string line = "1\t" + std::to_string(o.body.size()) + "\t" + std::to_string(o.lastAccessed) +
                             "\tC:\\NETSCAPE\\CACHE\\MZ000004.HTM\t" + o.url + "\ttext/html\t" +
                             std::to_string(o.lastModified) + "\t";
    EXPECT_EQ(bytes.substr(0, 43), "MCOM-Cache-file-allocation-table-format-1\r\n");
    EXPECT_EQ(bytes.substr(43, line.size() + 2), line + "\r\n");
    EXPECT_NE(bytes.find("C:\\NETSCAPE\\CACHE\\01\\cache8.html"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "t/MZ000004.HTM"), o.body);
    EXPECT_FALSE(FileExists(dir / "t/01/cache8.html"));
}

}  // namespace
}  // namespace restash::test

namespace restash::test {
namespace {

// The committed samples must be what the sample tool makes today.
TEST_F(FixtureWriterTest, CommittedSamplesMatchTheSampleTool) {
    const std::string tool = std::string(RESTASH_BINARY_DIR) + "/bin/make_sample_cache";
    if (!FileExists(tool)) GTEST_SKIP() << "make_sample_cache is not built";
    ASSERT_EQ(std::system(("'" + tool + "' '" + dir / "out" + "' >/dev/null").c_str()), 0);
    const std::string committed = std::string(RESTASH_SOURCE_DIR) + "/samples/";
    int files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir / "out")) {
        if (!e.is_regular_file()) continue;
        const std::string relative = std::filesystem::relative(e.path(), dir / "out").string();
        ASSERT_TRUE(FileExists(committed + relative)) << relative;
        EXPECT_TRUE(ReadBytes(e.path().string()) == ReadBytes(committed + relative)) << relative << " differs";
        ++files;
    }
    EXPECT_GT(files, 40);
    // 25 objects and the three special records.
    EXPECT_EQ(DumpPairs(committed + "hash-cache/FAT.DB").size(), 28u);
}

}  // namespace
}  // namespace restash::test

namespace restash::test {
namespace {

TEST_F(FixtureWriterTest, GeneratedCachesHoldEveryObjectInBothForms) {
    const std::string tool = std::string(RESTASH_BINARY_DIR) + "/bin/generate_cache";
    if (!FileExists(tool)) GTEST_SKIP() << "generate_cache is not built";
    const std::string common = " --entries 300 --domains 7 --page-kb 2-4 --image-kb 1-2 --seed 9 >/dev/null";
    ASSERT_EQ(std::system(("'" + tool + "' --out '" + dir / "h" + "' --db-page 4096 --big-endian" + common).c_str()), 0);
    ASSERT_EQ(std::system(("'" + tool + "' --out '" + dir / "t" + "' --form text" + common).c_str()), 0);

    auto pairs = DumpPairs(dir / "h/FAT.DB");
    EXPECT_EQ(pairs.size(), 303u);  // and the three special records
    std::string text = ReadBytes(dir / "t/FAT");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 301);
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "t")) files += e.is_regular_file();
    EXPECT_EQ(files, 301);
    // The same seed gives the same objects in both forms.
    for (const auto& [key, data] : pairs) {
        if (key.starts_with("INT_")) continue;
        std::string url = key.substr(8, Le32(key, 4) - 1);
        EXPECT_NE(text.find("\t" + url + "\t"), std::string::npos) << url;
    }
    EXPECT_NE(std::system(("'" + tool + "' --out '" + dir / "x" + "' --form tree 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace restash::test
