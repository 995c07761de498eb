#pragma once
// Fixture writers made of real components: Netscape caches whose hash index
// is written by the real Berkeley DB 1.85 library (libdb1-compat, loaded at
// run time) with Netscape's own record layout, text-form indexes, history
// files, and the cache folder with its files.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace restash::test {

// One object of the cache, as Netscape's cache routines store it.
struct NsObject {
    std::string url;          // the address; the key holds it up to its first "#"
    std::string fileName;     // the cache file, relative to the cache folder ("M0A1B2C3.HTM", "00/cache3...html")
    std::string mimeType;     // as Netscape stored it ("text/html")
    std::string body;         // the cache file's contents (written unless writeFile is false)
    bool writeFile = true;    // false: the index names a file that is missing
    std::int32_t lastModified = 0;
    std::int32_t lastAccessed = 0;  // the time stamp the reader lists
    std::int32_t expires = 0;
    std::int32_t contentLength = -1;  // -1: the body's size
    int version = 3;          // record format version: 3 (Netscape 3) or 5 (Netscape's 1998 code)
    bool secure = false;      // version 3: a cipher name and a certificate; version 5: a sec_info block
    std::string cipher = "RC4";
    std::string certificate = std::string(600, '\x30');
    std::string postData;     // non-empty: the key carries the MD5 of it
    std::string contentEncoding;
    std::string charset;
    bool incomplete = false;
};

struct HashCacheOptions {
    unsigned pageSize = 16384;  // Netscape's Windows builds: 16384; its own cache code opens with 4096
    bool bigEndian = false;     // big-endian Unix builds (page words big-endian, payloads little)
    // Netscape's special records, written when a session ends normally.
    bool specialRecords = true;
    std::int32_t diskCacheSize = -1;    // -1: the sum of the live objects' content lengths
    std::int32_t diskCacheNumber = -1;  // -1: the number of live objects
    std::string externalCacheName = "Netscape Internal Disk Cache";  // empty: no INT_ExternalCacheNameString record
};

// The keys of Netscape's special records (no terminating zero in the key).
inline constexpr const char* kDiskCacheSizeKey = "INT_DiskCacheSize";
inline constexpr const char* kDiskCacheNumberKey = "INT_DiskCacheNumber";
inline constexpr const char* kExternalCacheNameKey = "INT_ExternalCacheNameString";

// The key of an object's record: int32 key size, int32 address length (with
// its NUL), the address up to its first "#" and a NUL, int32 post size (0, or
// 16 followed by the MD5 of the post data). Integers little-endian.
std::string CacheKey(const NsObject& object);
// The data of an object's record, laid out by its format version (3 or 5),
// zero-padded up to the record size its first word gives.
std::string CacheRecord(const NsObject& object);

// A hash-form cache being built in folder (created when missing): the index
// file folder + indexName is a real DB 1.85 hash file. A session opens the
// database, and Put/Remove change it as Netscape's cache did; End() closes it
// (writing the special records when the options say so). Several sessions may
// follow one another on the same cache.
class HashCacheWriter {
public:
    HashCacheWriter(std::string folder, std::string indexName = "FAT.DB", HashCacheOptions options = {});
    ~HashCacheWriter();
    HashCacheWriter(const HashCacheWriter&) = delete;
    HashCacheWriter& operator=(const HashCacheWriter&) = delete;

    void BeginSession();  // opens (or creates) the database
    void Put(const NsObject& object);           // adds or replaces the object's record, writes its file
    void Remove(const std::string& url);        // evicts: deletes the record and its file
    // Netscape's cache clean-up: evicts the count objects accessed longest
    // ago, then updates the special records (when the options want them).
    void EvictOldest(std::size_t count);
    void WriteSpecialRecords();                 // puts the three special records now
    void EndSession(bool normalShutdown = true);  // special records when normalShutdown, then close

    std::string IndexPath() const;
    // The objects the index holds now, in no particular order (those this
    // writer put; a writer opened on an existing file starts with none).
    const std::vector<NsObject>& Live() const { return live_; }

private:
    void RemoveAt(std::size_t index);
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<NsObject> live_;
};

// Writes a whole hash-form cache in one session.
std::string WriteHashCache(const std::string& folder, const std::vector<NsObject>& objects,
                           HashCacheOptions options = {}, std::string indexName = "FAT.DB");

// A text-form index (header "MCOM-Cache-file-allocation-table-format-1",
// tab-separated fields, CR LF lines) with the cache files in folder.
// Fields: 1 and 2 unused numbers, 3 the time stamp, 4 the cache file's path
// (pathPrefix + fileName, Windows style), 5 the URL, 6 the MIME type, 7 unused.
std::string WriteTextCache(const std::string& folder, const std::vector<NsObject>& objects,
                           std::string indexName = "FAT", std::string pathPrefix = "C:\\NETSCAPE\\CACHE\\");

// The bytes of a text index line for an object (without line end).
std::string TextIndexLine(const NsObject& object, const std::string& pathPrefix = "C:\\NETSCAPE\\CACHE\\");

}  // namespace restash::test
