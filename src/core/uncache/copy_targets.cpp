#include "core/uncache/copy_targets.h"

#include "core/offline/offline_names.h"
#include "core/platform/error.h"
#include "core/platform/text.h"
#include "core/web/file_kind.h"

namespace restash {
namespace {

// The folder of a copy: the root, MEDIA or OTHERS.
std::string FolderFor(std::string_view mime) {
    switch (CopyFolderFor(mime)) {
        case CopyFolder::Root: return "";
        case CopyFolder::Media: return kMediaFolder;
        case CopyFolder::Others: return kOthersFolder;
    }
    return kOthersFolder;
}

}  // namespace

void LocalNames::Take(const std::string& place, const std::string& name) { taken_.insert(place + ToUpperAscii(name)); }

// Names are only ever taken, never freed, and every k-digit number gives the
// same name for all bases that share their first 8 - k characters: so each
// such run keeps how far it is known to be taken, and the search starts
// there. The name is the one a search from 0 would find, at a cost that no
// longer grows with the names taken before.
std::string LocalNames::FirstFree(const std::string& place, const std::string& base, const std::string& extension) {
    if (taken_.insert(place + ToUpperAscii(base + extension)).second) return base + extension;
    std::uint64_t low = 1;
    for (unsigned digits = 1;; ++digits, low *= 10) {
        if (low > UINT32_MAX) throw Error("No free name for " + base + extension);
        const std::size_t room = digits >= 8 ? 0 : 8 - digits;
        const std::string key = place + '|' + base.substr(0, room) + '|' + std::to_string(digits) + '|' + extension;
        std::uint64_t& frontier = frontier_.try_emplace(key, low).first->second;
        for (std::uint64_t k = frontier; k < low * 10 && k <= UINT32_MAX; ++k) {
            std::string name = NumberedName(base, static_cast<unsigned>(k)) + extension;
            const bool free = taken_.insert(place + ToUpperAscii(name)).second;
            if (k == frontier) frontier = k + 1;
            if (free) return name;
        }
    }
}

CopyTarget TargetFor(const CacheEntry& entry, LocalNames& names) {
    CopyTarget t;
    t.url = CleanURL(entry.Url);
    // Addresses are kept whole: a cut base would resolve the page's relative
    // links against the wrong folder.
    t.mapped = MapURL(t.url, std::string::npos);
    t.folder = FolderFor(entry.MimeType);
    t.isPage = entry.MimeType == "TEXT/HTML";
    const std::string place = ToUpperAscii(t.folder + (t.isPage ? kTempFolder : ""));
    t.fileName = names.FirstFree(place, t.mapped.baseName, ExtensionFor(entry.MimeType));
    return t;
}

}  // namespace restash
