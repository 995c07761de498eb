// What every cache source shares.
#include "core/cache/cache_source.h"

#include "core/cache/recognize_cache.h"
#include "core/platform/error.h"

namespace restash {

const char* IndexFormatName(IndexFormat format) {
    switch (format) {
        case IndexFormat::TextIndex: return CacheFormatName(CacheFormat::NetscapeText);
        case IndexFormat::HashIndex: return CacheFormatName(CacheFormat::NetscapeHash);
        case IndexFormat::MozillaDisk: return CacheFormatName(CacheFormat::MozillaDisk);
        case IndexFormat::Cache2: return CacheFormatName(CacheFormat::Cache2);
        case IndexFormat::Netscape6: return CacheFormatName(CacheFormat::Netscape6);
    }
    return CacheFormatName(CacheFormat::Unknown);
}

ReadingBusy::ReadingBusy(ProgressSink& progress) : progress_(progress) { progress_.Busy(true, kReadingCaption); }

ReadingBusy::~ReadingBusy() { progress_.Busy(false, kReadingCaption); }

std::string CacheSource::WhyRemovalIsRefused() const {
    if (Traits().removal != RemovalKind::None) return {};
    return Location() + ": entries cannot be deleted from a " + IndexFormatName(Traits().format);
}

Removal CacheSource::Remove(CacheEntryList& /*entries*/, const EntryFilter& /*chosen*/,
                            const std::string& /*workFolder*/, FileSystem& /*fs*/, ProgressSink& /*progress*/) const {
    throw Error(Location() + ": entries cannot be removed from this cache");
}

RemovalPlan CacheSource::PlanRemoval(const CacheEntryList& /*entries*/, const EntryFilter& /*chosen*/,
                                     ProgressSink& /*progress*/) const {
    throw Error(Location() + ": entries cannot be removed from this cache");
}

}  // namespace restash
