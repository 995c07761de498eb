#pragma once
// A writer of Mozilla's disk cache, version 1, for map versions 1.3 to 1.19:
// _CACHE_MAP_, the three block files with their bitmaps, and separate data
// and metadata files (flat up to 1.18, in X/XX/ folders from 1.19), laid out
// as the browser's cache code laid them out.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/web_objects.h"

namespace restash::test {

struct MozillaCacheOptions {
    unsigned minor = 19;            // the map version 1.minor
    bool bigEndianRecords = false;  // 1.3 to 1.5: the order of the machine that wrote the records
    bool writeMap = true;
    bool dirty = false;             // the map's dirty flag, as a browser that did not shut down left it
    bool separateMetadata = false;  // every metadata entry in a file of its own
};

// Map version 1.minor with the other options at their defaults.
inline MozillaCacheOptions MapVersion(unsigned minor) {
    MozillaCacheOptions options;
    options.minor = minor;
    return options;
}

// Where the writer put an object.
struct MozillaPlacement {
    std::uint32_t hashNumber = 0;
    std::uint32_t dataLocation = 0, metaLocation = 0;
    std::string key;
};

// The key the browser filed an object under: "HTTP:" and the address, or
// "HTTP:id=<postId>&uri=<address>" (with "anon&" first for an anonymous load).
std::string DiskCacheKey(const WebObject& object);

// The metadata entry of an object (big-endian header, key, elements).
std::string DiskEntryBytes(const WebObject& object, unsigned minor, std::uint32_t metaLocation);

// Writes the objects into folder (created when missing) and says where each went.
std::vector<MozillaPlacement> WriteMozillaCache(const std::string& folder,
                                                const std::vector<WebObject>& objects,
                                                const MozillaCacheOptions& options = {});

}  // namespace restash::test
