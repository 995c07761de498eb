#include "tests/support/db185.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace restash::test::db185 {
namespace {

using DbOpenFn = Db* (*)(const char*, int, int, DbType, const void*);

struct Library {
    DbOpenFn dbopen = nullptr;
    std::string error;
};

const Library& Load() {
    // Loaded once for the process; the handle stays open until it ends.
    static const Library library = [] {
        Library lib;
        void* handle = dlopen("/lib/libdb1.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle) handle = dlopen("libdb1.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            lib.error = std::string("Berkeley DB 1.85 library libdb1.so.2 cannot be loaded (") +
                        (why ? why : "unknown reason") + "): install libdb1-compat";
            return lib;
        }
        lib.dbopen = reinterpret_cast<DbOpenFn>(dlsym(handle, "dbopen"));
        if (!lib.dbopen) lib.error = "libdb1.so.2 has no dbopen: install libdb1-compat";
        return lib;
    }();
    return library;
}

Dbt View(std::string_view bytes) {
    return Dbt{const_cast<char*>(bytes.data()), bytes.size()};
}

std::string Bytes(const Dbt& dbt) {
    return std::string(static_cast<const char*>(dbt.data), dbt.size);
}

}  // namespace

bool Available() { return Load().dbopen != nullptr; }

HashFile::HashFile(const std::string& path, OpenOptions options) : path_(path) {
    const Library& lib = Load();
    if (!lib.dbopen) throw std::runtime_error(lib.error);
    HashInfo info{};
    info.bsize = options.pageSize;
    info.cachesize = options.cacheSize;
    info.lorder = options.bigEndian ? 4321 : 1234;
    errno = 0;
    db_ = lib.dbopen(path.c_str(), O_RDWR | O_CREAT, 0644, kHash, &info);
    if (!db_) {
        throw std::runtime_error(path + ": dbopen failed: " +
                                 (errno ? std::strerror(errno) : "not a hash database"));
    }
}

HashFile::~HashFile() {
    if (db_) db_->close(db_);
}

bool HashFile::Put(std::string_view key, std::string_view data, bool noOverwrite) {
    if (!db_) throw std::runtime_error(path_ + ": database is closed");
    Dbt k = View(key);
    Dbt d = View(data);
    int status = db_->put(db_, &k, &d, noOverwrite ? kNoOverwrite : 0);
    if (status < 0) throw std::runtime_error(path_ + ": put failed: " + std::strerror(errno));
    return status == 0;
}

std::optional<std::string> HashFile::Get(std::string_view key) const {
    if (!db_) throw std::runtime_error(path_ + ": database is closed");
    Dbt k = View(key);
    Dbt d{};
    int status = db_->get(db_, &k, &d, 0);
    if (status < 0) throw std::runtime_error(path_ + ": get failed: " + std::strerror(errno));
    if (status > 0) return std::nullopt;
    return Bytes(d);
}

bool HashFile::Remove(std::string_view key) {
    if (!db_) throw std::runtime_error(path_ + ": database is closed");
    Dbt k = View(key);
    int status = db_->del(db_, &k, 0);
    if (status < 0) throw std::runtime_error(path_ + ": del failed: " + std::strerror(errno));
    return status == 0;
}

std::vector<std::pair<std::string, std::string>> HashFile::All() const {
    if (!db_) throw std::runtime_error(path_ + ": database is closed");
    std::vector<std::pair<std::string, std::string>> pairs;
    Dbt k{};
    Dbt d{};
    for (int status = db_->seq(db_, &k, &d, kFirst); status == 0; status = db_->seq(db_, &k, &d, kNext)) {
        pairs.emplace_back(Bytes(k), Bytes(d));
    }
    return pairs;
}

void HashFile::Sync() {
    if (!db_) throw std::runtime_error(path_ + ": database is closed");
    if (db_->sync(db_, 0) != 0) throw std::runtime_error(path_ + ": sync failed: " + std::strerror(errno));
}

void HashFile::Close() {
    if (!db_) return;
    Db* db = db_;
    db_ = nullptr;
    if (db->close(db) != 0) throw std::runtime_error(path_ + ": close failed: " + std::strerror(errno));
}

}  // namespace restash::test::db185
