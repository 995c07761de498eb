#pragma once
// Exporting the selected cache entries to a web archive: a gzip-compressed
// WARC 1.1 file with a record of the cache file byte for byte and a linked
// "metadata" record (the index's other facts) for every selected entry whose
// cache file is there, optionally an index of the records for replay tools
// and a manifest of every selected entry. The record is a "response" record
// where the cache kept the server's response head, a "resource" record where
// it did not (no response is made up). Records are filed under the address
// as a browser asks for it (BrowserAddress); the cache's own stays in the
// metadata record. The archive can be written as a .warc.gz file, packed
// into a WACZ package with its index and its list of pages, or both.
//
// Bodies are read twice, in pieces (digests first, then the bytes into
// the archive), so memory does not grow with their size; what grows with the
// number of entries is one index line each. Every output is written under a
// temporary name and renamed over the old file only when all are complete: a
// failure or a stop leaves the old files as they were.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/cache/cache_entry.h"
#include "core/cache/cache_source.h"
#include "core/platform/file_system.h"
#include "core/platform/progress.h"
#include "core/selection/selection.h"

namespace restash {

inline constexpr const char* kPhaseExporting = "Writing Web Archive";
inline constexpr const char* kNetscapeCacheKind = "Netscape disk cache";

struct ExportOptions {
    std::string warcPath;                     // the archive, conventionally ending ".warc.gz"; empty: none
    std::optional<std::string> waczPath;      // the archive packed with its index and pages (".wacz")
    std::optional<std::string> cdxjPath;      // the index of the archive's records
    std::optional<std::string> manifestPath;  // ".csv" or ".json"
    std::string sourceCacheName;              // the cache index, as the archive's description names it
    std::int64_t createdAt = 0;               // seconds since 1970 UTC: the archive's own date
    // What the archive's description calls the cache ("Mozilla disk cache
    // of Firefox 3-3.6 ..."; empty: taken from the source's traits); a
    // package's title names it too when it is not Netscape's.
    std::string cacheKind;
};

// A chosen entry the export left out, with the reason.
struct ExportFailure {
    std::string url;
    std::string body;        // the body's label (a cache file's path), or its name when it is absent
    std::string what;        // "file: problem"; empty for an absent body
    bool noAddress = false;  // the index gives no address for it (else its body could not be read)
};

struct ExportCounts {
    std::uint64_t selected = 0;  // entries the selection chose
    std::uint64_t archived = 0;  // of those, the ones written to the archive
    std::uint64_t missing = 0;   // of those, the ones whose body is not in the cache
    std::uint64_t bytes = 0;     // body bytes archived
    std::uint64_t pages = 0;     // of the archived entries, the HTML pages a WACZ package lists
};

struct ExportReport : ExportCounts {
    std::vector<ExportFailure> failures;  // selected entries that could not be archived
    std::vector<ExportFailure> absent;    // selected entries whose body is not in the cache
    Ending ending = Ending::Finished;     // Stopped: the user stopped the export; no output was replaced
};

// Exports the entries IsSelected chooses, in list order. Throws FileError for
// an output that cannot be written (outputs are then left as they were) or a
// cache file that changes while it is archived, and Error when options name
// no archive (neither warcPath nor waczPath) or an index without warcPath; a
// cache file that cannot be read, or an entry without an address, is listed
// in failures and skipped. The bodies are read through source, which read
// entries.
ExportReport ExportArchive(const CacheEntryList& entries, const Selection& selection, const CacheSource& source,
                           const ExportOptions& options, ProgressSink& progress, FileSystem& fs);

}  // namespace restash
