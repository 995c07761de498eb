// Choosing the source for what the user named as the cache.
#include "core/cache/cache_source.h"
#include "core/cache/family_source.h"
#include "core/cache/index_diagnosis.h"
#include "core/cache/netscape_source.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash {

namespace {

// The Netscape index file, of either form; a foreign file is refused here,
// before any command reads it as an index.
std::unique_ptr<CacheSource> NetscapeSourceFor(const std::string& indexPath) {
    if (DiagnoseIndexFile(indexPath) == IndexFormat::TextIndex) return std::make_unique<NetscapeTextSource>(indexPath);
    return std::make_unique<NetscapeHashSource>(indexPath);
}

}  // namespace

// Only the first line's marker counts; anything else is taken for a hash file.
IndexFormat DetectIndexFormat(const std::string& indexPath) {
    return IsTextIndexHead(ReadIndexHead(indexPath)) ? IndexFormat::TextIndex : IndexFormat::HashIndex;
}

bool CacheIsThere(const std::string& location) {
    if (IsFile(location)) return true;
    return IsDirectory(location) && RecognizeCache(location).format != CacheFormat::Unknown;
}

std::unique_ptr<CacheSource> OpenCacheSource(const std::string& location) {
    const bool folder = IsDirectory(location);
    // A file that is no Mozilla-family cache's is read as a Netscape index,
    // whatever its contents: the reader says what is wrong with it.
    if (!folder && !IsFile(location)) return NetscapeSourceFor(location);
    const RecognizedCache cache = RecognizeCache(location);
    switch (cache.format) {
        case CacheFormat::MozillaDisk: return std::make_unique<MozillaDiskSource>(location, cache);
        case CacheFormat::Cache2: return std::make_unique<Cache2Source>(location, cache);
        case CacheFormat::Netscape6: return std::make_unique<Netscape6Source>(location, cache);
        case CacheFormat::NetscapeText:
        case CacheFormat::NetscapeHash: return NetscapeSourceFor(cache.indexPath);
        case CacheFormat::Unknown: break;
    }
    if (folder) throw FileError(location, "No cache found in this folder, nor in a Cache, cache2 or NewCache folder in it");
    return NetscapeSourceFor(location);
}

}  // namespace restash
