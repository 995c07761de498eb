// Choosing the source for what the user named as the cache.
#include "core/cache/cache_source.h"
#include "core/cache/index_diagnosis.h"
#include "core/cache/netscape_source.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash {

// Only the first line's marker counts; anything else is taken for a hash file.
IndexFormat DetectIndexFormat(const std::string& indexPath) {
    return IsTextIndexHead(ReadIndexHead(indexPath)) ? IndexFormat::TextIndex : IndexFormat::HashIndex;
}

bool CacheIsThere(const std::string& location) { return IsFile(location); }

std::unique_ptr<CacheSource> OpenCacheSource(const std::string& indexPath) {
    // A foreign file is refused here, before any command reads it as an index.
    if (DiagnoseIndexFile(indexPath) == IndexFormat::TextIndex) return std::make_unique<NetscapeTextSource>(indexPath);
    return std::make_unique<NetscapeHashSource>(indexPath);
}

}  // namespace restash
