#include "tests/support/netscape_cache.h"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

#include "tests/support/db185.h"
#include "tests/support/md5.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

// Netscape sizes a record as its in-memory object plus its strings; the part
// not filled by the stored fields stays zero. The object is 100 bytes in its
// 32-bit builds.
constexpr std::size_t kObjectSize = 100;

void PutInt(std::string& out, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void PutByte(std::string& out, bool value) { out.push_back(value ? 1 : 0); }

// A string field: length counting its NUL, the bytes, the NUL; 0 for none.
void PutStr(std::string& out, const std::string& s) {
    if (s.empty()) {
        PutInt(out, 0);
        return;
    }
    PutInt(out, static_cast<std::int32_t>(s.size() + 1));
    out += s;
    out.push_back('\0');
}

void PutBlock(std::string& out, const std::string& block) {
    PutInt(out, static_cast<std::int32_t>(block.size()));
    out += block;
}

std::size_t StrSize(const std::string& s) { return s.empty() ? 0 : s.size() + 1; }

std::string KeyAddress(const std::string& url) { return url.substr(0, url.find('#')); }

std::int32_t ContentLength(const NsObject& o) {
    return o.contentLength >= 0 ? o.contentLength : static_cast<std::int32_t>(o.body.size());
}

std::string PostHeaders(const NsObject& o) {
    if (o.postData.empty()) return {};
    return "Content-type: application/x-www-form-urlencoded\r\nContent-length: " +
           std::to_string(o.postData.size()) + "\r\n";
}

// The version-5 security block: opaque to everything but the browser.
std::string SecurityInfo(const NsObject& o) {
    if (!o.secure) return {};
    return o.cipher + std::string(1, '\0') + o.certificate;
}

std::string CachePath(const std::string& folder, const std::string& fileName) {
    std::string name = fileName;
    std::replace(name.begin(), name.end(), '\\', '/');
    return folder + name;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    return folder;
}

void WriteCacheFile(const std::string& folder, const NsObject& o) {
    if (o.writeFile) WriteBytes(CachePath(folder, o.fileName), o.body);
}

void RemoveCacheFile(const std::string& folder, const std::string& fileName) {
    std::error_code ec;
    std::filesystem::remove(CachePath(folder, fileName), ec);
}

std::string Int32Bytes(std::int32_t value) {
    std::string out;
    PutInt(out, value);
    return out;
}

}  // namespace

std::string CacheKey(const NsObject& object) {
    std::string address = KeyAddress(object.url);
    std::string key;
    PutInt(key, 0);  // the key size, filled in below
    PutInt(key, static_cast<std::int32_t>(address.size() + 1));
    key += address;
    key.push_back('\0');
    if (object.postData.empty()) {
        PutInt(key, 0);
    } else {
        PutInt(key, 16);
        key += Md5(object.postData);
    }
    std::string size = Int32Bytes(static_cast<std::int32_t>(key.size()));
    key.replace(0, 4, size);
    return key;
}

std::string CacheRecord(const NsObject& o) {
    const bool v5 = o.version == 5;
    const std::int32_t length = ContentLength(o);
    const std::string postHeaders = PostHeaders(o);
    const std::string secInfo = SecurityInfo(o);
    const std::string cipher = o.secure ? o.cipher : std::string();
    const std::string certificate = o.secure ? o.certificate : std::string();

    std::string r;
    PutInt(r, 0);  // the record size, filled in below
    PutInt(r, o.version);
    PutInt(r, o.lastModified);
    PutInt(r, o.lastAccessed);
    PutInt(r, o.expires);
    PutInt(r, length);
    PutByte(r, false);  // is_netsite
    PutInt(r, 0);       // lock_date
    PutStr(r, o.fileName);
    PutInt(r, static_cast<std::int32_t>(o.fileName.size()));  // filename_len
    PutByte(r, true);   // is_relative_path
    PutInt(r, o.secure ? 1 : 0);
    if (v5) {
        PutBlock(r, secInfo);
    } else {
        PutInt(r, o.secure ? 128 : 0);  // key_size
        PutInt(r, o.secure ? 128 : 0);  // key_secret_size
        PutStr(r, cipher);
        PutBlock(r, certificate);
    }
    PutInt(r, o.postData.empty() ? 0 : 1);  // method: GET or POST
    PutStr(r, postHeaders);
    PutStr(r, o.mimeType);
    PutStr(r, o.contentEncoding);
    PutStr(r, o.charset);
    PutByte(r, o.incomplete);
    // An incomplete file holds less than the server announced.
    PutInt(r, o.incomplete ? length + 1024 : length);
    if (v5) PutStr(r, {});  // page_services_url

    std::size_t total = kObjectSize + KeyAddress(o.url).size() + 1 + o.postData.size() + 1 + StrSize(postHeaders) +
                        StrSize(o.mimeType) + StrSize(o.contentEncoding) + StrSize(o.charset) +
                        StrSize(o.fileName) + 4 + (v5 ? secInfo.size() : StrSize(cipher) + certificate.size());
    total = std::max(total, r.size());
    r.resize(total, '\0');
    r.replace(0, 4, Int32Bytes(static_cast<std::int32_t>(total)));
    return r;
}

struct HashCacheWriter::Impl {
    std::string folder;
    std::string indexName;
    HashCacheOptions options;
    std::unique_ptr<db185::HashFile> db;
    std::unordered_map<std::string, std::size_t> byKey;  // CacheKey -> index in live_

    db185::HashFile& Db() {
        if (!db) throw std::logic_error(folder + indexName + ": no session is open");
        return *db;
    }
};

HashCacheWriter::HashCacheWriter(std::string folder, std::string indexName, HashCacheOptions options)
    : impl_(std::make_unique<Impl>()) {
    impl_->folder = WithSlash(std::move(folder));
    impl_->indexName = std::move(indexName);
    impl_->options = options;
    std::filesystem::create_directories(impl_->folder);
}

HashCacheWriter::~HashCacheWriter() {
    // Like a browser that ends without its shutdown update: the pairs stay,
    // the special records are not refreshed.
    try {
        if (impl_->db) impl_->db->Close();
    } catch (...) {
    }
}

std::string HashCacheWriter::IndexPath() const { return impl_->folder + impl_->indexName; }

void HashCacheWriter::BeginSession() {
    if (impl_->db) throw std::logic_error(IndexPath() + ": a session is already open");
    db185::OpenOptions open;
    open.pageSize = impl_->options.pageSize;
    open.bigEndian = impl_->options.bigEndian;
    impl_->db = std::make_unique<db185::HashFile>(IndexPath(), open);
}

void HashCacheWriter::Put(const NsObject& object) {
    db185::HashFile& db = impl_->Db();
    const std::string key = CacheKey(object);
    const std::string data = CacheRecord(object);
    // Netscape stores without overwriting first; on a duplicate it drops the
    // old object's file and stores over its record.
    if (db.Put(key, data, true)) {
        impl_->byKey[key] = live_.size();
        live_.push_back(object);
    } else {
        auto found = impl_->byKey.find(key);
        if (found != impl_->byKey.end()) {
            NsObject& old = live_[found->second];
            if (old.fileName != object.fileName) RemoveCacheFile(impl_->folder, old.fileName);
            old = object;
        } else {
            impl_->byKey[key] = live_.size();
            live_.push_back(object);
        }
        db.Put(key, data, false);
    }
    WriteCacheFile(impl_->folder, object);
}

void HashCacheWriter::RemoveAt(std::size_t index) {
    const std::string key = CacheKey(live_[index]);
    impl_->Db().Remove(key);
    RemoveCacheFile(impl_->folder, live_[index].fileName);
    impl_->byKey.erase(key);
    if (index + 1 != live_.size()) {
        live_[index] = std::move(live_.back());
        impl_->byKey[CacheKey(live_[index])] = index;
    }
    live_.pop_back();
}

void HashCacheWriter::Remove(const std::string& url) {
    NsObject probe;
    probe.url = url;
    auto found = impl_->byKey.find(CacheKey(probe));
    if (found != impl_->byKey.end()) {
        RemoveAt(found->second);
        return;
    }
    // A POST reply's key carries its post data: find it by address.
    const std::string address = KeyAddress(url);
    for (std::size_t i = 0; i < live_.size(); ++i) {
        if (KeyAddress(live_[i].url) == address) {
            RemoveAt(i);
            return;
        }
    }
    throw std::invalid_argument(IndexPath() + ": no cached object has the address " + url);
}

void HashCacheWriter::EvictOldest(std::size_t count) {
    std::vector<std::size_t> order(live_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return live_[a].lastAccessed < live_[b].lastAccessed; });
    order.resize(std::min(count, order.size()));
    std::vector<std::string> keys;
    for (std::size_t i : order) keys.push_back(CacheKey(live_[i]));
    for (const std::string& key : keys) RemoveAt(impl_->byKey.at(key));
    if (impl_->options.specialRecords) WriteSpecialRecords();
}

void HashCacheWriter::WriteSpecialRecords() {
    db185::HashFile& db = impl_->Db();
    const HashCacheOptions& o = impl_->options;
    std::int32_t size = o.diskCacheSize;
    if (size < 0) {
        std::uint32_t sum = 0;
        for (const NsObject& object : live_) sum += static_cast<std::uint32_t>(ContentLength(object));
        size = static_cast<std::int32_t>(sum);
    }
    std::int32_t number = o.diskCacheNumber >= 0 ? o.diskCacheNumber : static_cast<std::int32_t>(live_.size());
    db.Put(kDiskCacheSizeKey, Int32Bytes(size));
    db.Put(kDiskCacheNumberKey, Int32Bytes(number));
    if (!o.externalCacheName.empty())
        db.Put(kExternalCacheNameKey, o.externalCacheName + std::string(1, '\0'));
}

void HashCacheWriter::EndSession(bool normalShutdown) {
    impl_->Db();
    if (normalShutdown && impl_->options.specialRecords) WriteSpecialRecords();
    auto db = std::move(impl_->db);
    db->Close();
}

std::string WriteHashCache(const std::string& folder, const std::vector<NsObject>& objects,
                           HashCacheOptions options, std::string indexName) {
    HashCacheWriter writer(folder, std::move(indexName), options);
    writer.BeginSession();
    for (const NsObject& object : objects) writer.Put(object);
    writer.EndSession(true);
    return writer.IndexPath();
}

std::string TextIndexLine(const NsObject& object, const std::string& pathPrefix) {
    std::string path = pathPrefix + object.fileName;
    std::replace(path.begin(), path.end(), '/', '\\');
    // Seven fields, each closed by a tab: the reader wants something left
    // after the seventh.
    const std::string fields[] = {"1",
                                  std::to_string(ContentLength(object)),
                                  std::to_string(object.lastAccessed),
                                  path,
                                  object.url,
                                  object.mimeType,
                                  std::to_string(object.lastModified)};
    std::string line;
    for (const std::string& field : fields) line += field + "\t";
    return line;
}

std::string WriteTextCache(const std::string& folder, const std::vector<NsObject>& objects,
                           std::string indexName, std::string pathPrefix) {
    const std::string dir = WithSlash(folder);
    std::filesystem::create_directories(dir);
    std::string index = "MCOM-Cache-file-allocation-table-format-1\r\n";
    for (const NsObject& object : objects) {
        index += TextIndexLine(object, pathPrefix) + "\r\n";
        WriteCacheFile(dir, object);
    }
    WriteBytes(dir + indexName, index);
    return dir + indexName;
}

}  // namespace restash::test
