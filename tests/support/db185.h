#pragma once
// A thin wrapper over the real Berkeley DB 1.85 library (libdb1-compat),
// loaded at run time, used to write hash files exactly as Netscape's cache
// code did. No header ships with the library, so its API is declared here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace restash::test::db185 {

// The library's own types, laid out as its db.h declares them.
struct Dbt {
    void* data;
    std::size_t size;
};

enum DbType : int { kBtree = 0, kHash = 1, kRecno = 2 };

struct Db {
    DbType type;
    int (*close)(Db*);
    int (*del)(const Db*, const Dbt*, unsigned flags);
    int (*get)(const Db*, const Dbt*, Dbt*, unsigned flags);
    int (*put)(const Db*, Dbt*, const Dbt*, unsigned flags);
    int (*seq)(const Db*, Dbt*, Dbt*, unsigned flags);
    int (*sync)(const Db*, unsigned flags);
    void* internal;
    int (*fd)(const Db*);
};

struct HashInfo {
    unsigned bsize;       // page size
    unsigned ffactor;     // fill factor
    unsigned nelem;       // expected number of elements
    unsigned cachesize;   // bytes of page cache
    std::uint32_t (*hash)(const void*, std::size_t);
    int lorder;           // byte order of the page words: 1234 or 4321
};

// Flags of put and seq.
inline constexpr unsigned kFirst = 3;
inline constexpr unsigned kNext = 7;
inline constexpr unsigned kNoOverwrite = 8;

struct OpenOptions {
    unsigned pageSize = 16384;
    bool bigEndian = false;   // lorder 4321 instead of 1234
    unsigned cacheSize = 0;   // 0: the library's default
};

// One open hash database. Every failure throws std::runtime_error naming the
// file; a missing library says which package to install.
class HashFile {
public:
    // Opens path for reading and writing, creating it when missing.
    HashFile(const std::string& path, OpenOptions options = {});
    ~HashFile();
    HashFile(const HashFile&) = delete;
    HashFile& operator=(const HashFile&) = delete;

    // Stores the pair; with noOverwrite an existing key is left alone and
    // false comes back.
    bool Put(std::string_view key, std::string_view data, bool noOverwrite = false);
    std::optional<std::string> Get(std::string_view key) const;
    bool Remove(std::string_view key);  // false when the key is absent
    // Every pair, in the library's sequential order.
    std::vector<std::pair<std::string, std::string>> All() const;
    void Sync();
    void Close();  // flushes; later calls fail

    const std::string& path() const { return path_; }

private:
    Db* db_ = nullptr;
    std::string path_;
};

// True when the library can be loaded (tests that need it may skip otherwise).
bool Available();

}  // namespace restash::test::db185
