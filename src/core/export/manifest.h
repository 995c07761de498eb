#pragma once
// The export's manifest: one row for every selected cache entry, archived or
// not, with its address both as the cache holds it and as the archive files
// it, as CSV (RFC 4180, CR LF line ends) or as a JSON array, written row by
// row as the export goes.
#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/file_system.h"

namespace restash {

enum class ManifestFormat { Csv, Json };

// By the file name's extension, ".csv" or ".json" in any letter case; throws
// Error naming the file for any other.
ManifestFormat ManifestFormatFor(const std::string& path);

struct ManifestRow {
    std::string url;
    std::string cacheFile;
    std::string mimeType;
    std::string category;
    std::string timestamp;                // ISO-8601 UTC
    std::optional<std::uint64_t> size;    // when the file was read
    std::string sha256;                   // lower-case hex; empty when the file was not read
    bool present = false;                 // the cache file is in the cache folder
    bool archived = false;                // and its record is in the archive
    std::string archiveUrl;               // the address the archive files it under (the browser's form)
};

class ManifestWriter {
public:
    ManifestWriter(OutputFile& out, ManifestFormat format);
    void Add(const ManifestRow& row);
    // Closes the JSON array; call once after the last row.
    void Finish();

private:
    OutputFile& out_;
    ManifestFormat format_;
    bool first_ = true;
};

}  // namespace restash
