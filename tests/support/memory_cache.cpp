#include "tests/support/memory_cache.h"

#include <sstream>

#include "core/platform/error.h"
#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash::test {
namespace {

class MemoryBody final : public EntryBody {
public:
    MemoryBody(std::string label, const std::string* bytes) : label_(std::move(label)), bytes_(bytes) {}
    const std::string& Label() const override { return label_; }
    std::unique_ptr<std::streambuf> Open() const override {
        if (!bytes_) throw FileError(label_, "I/O error 5");
        return std::make_unique<std::stringbuf>(*bytes_, std::ios::in);
    }

private:
    std::string label_;
    const std::string* bytes_;
};

class MemoryBodies final : public BodyLookup {
public:
    explicit MemoryBodies(const MemoryCache& cache) : cache_(cache) {}
    std::unique_ptr<EntryBody> Find(const CacheEntry& entry) const override {
        const std::string label = "memory:" + entry.Body.Name;
        if (cache_.unreadable.count(entry.Body.Name)) return std::make_unique<MemoryBody>(label, nullptr);
        const auto it = cache_.bodies.find(entry.Body.Name);
        if (it == cache_.bodies.end()) return nullptr;
        return std::make_unique<MemoryBody>(label, &it->second);
    }

private:
    const MemoryCache& cache_;
};

}  // namespace

MemoryCache::MemoryCache(CacheEntryList list, IndexFormat format)
    : entries(std::move(list)), traits_(NetscapeTraits(format)) {}

CacheRead MemoryCache::Read(CacheEntryList& out, ProgressSink& progress, const ReadOptions& options) const {
    if (!readError.empty()) throw FileError(location_, readError);
    progress.Busy(true, kReadingCaption);
    out.clear();
    Ending ending = Ending::Finished;
    for (const CacheEntry& e : entries) {
        if (!progress.ProcessMessages()) {
            ending = Ending::Stopped;
            break;
        }
        const bool present = bodies.count(e.Body.Name) || unreadable.count(e.Body.Name);
        if (!present && !options.includeAbsent) continue;
        out.push_back(e);
        out.back().Body.Present = present;
    }
    ++reads;
    progress.Busy(false, kReadingCaption);
    return {ending, warnings};
}

std::unique_ptr<BodyLookup> MemoryCache::Bodies() const { return std::make_unique<MemoryBodies>(*this); }

Removal MemoryCache::Remove(CacheEntryList& list, const EntryFilter& chosen, const std::string&, FileSystem&,
                            ProgressSink& progress) const {
    Removal removal;
    if (!progress.ProcessMessages()) {
        removal.ending = Ending::Stopped;
        return removal;
    }
    std::erase_if(list, [&](const CacheEntry& e) {
        if (!chosen(e)) return false;
        ++removal.entriesRemoved;
        removal.bodiesRemoved += bodies.erase(e.Body.Name);
        std::erase_if(entries, [&](const CacheEntry& kept) { return kept.Body.Name == e.Body.Name; });
        return true;
    });
    return removal;
}

CacheEntry MemoryEntry(const std::string& url, const std::string& mime, std::int32_t stamp, const std::string& body) {
    CacheEntry e;
    e.Url = url;
    e.MimeType = ToUpperAscii(mime);
    e.Stamp = stamp;
    e.Domain = EntryDomain(url);
    e.category = ClassifyMimeType(e.MimeType);
    e.Body.Name = body;
    return e;
}

}  // namespace restash::test
