#include "core/export/manifest.h"

#include "core/export/json_text.h"
#include "core/platform/error.h"
#include "core/platform/text.h"

namespace restash {
namespace {

const char* Flag(bool b) { return b ? "true" : "false"; }

}  // namespace

ManifestFormat ManifestFormatFor(const std::string& path) {
    if (EndsWithNoCase(path, ".csv")) return ManifestFormat::Csv;
    if (EndsWithNoCase(path, ".json")) return ManifestFormat::Json;
    throw FileError(path, "A manifest file name must end in .csv or .json");
}

ManifestWriter::ManifestWriter(OutputFile& out, ManifestFormat format) : out_(out), format_(format) {
    if (format_ == ManifestFormat::Csv)
        out_.Write(
            "url,cache_file,mime_type,category,timestamp,size,sha256,present,archived,archive_url\r\n");
    else
        out_.Write("[");
}

void ManifestWriter::Add(const ManifestRow& row) {
    const std::string size = row.size ? std::to_string(*row.size) : std::string();
    if (format_ == ManifestFormat::Csv) {
        out_.Write(CsvField(row.url) + "," + CsvField(row.cacheFile) + "," + CsvField(row.mimeType) + "," +
                   row.category + "," + row.timestamp + "," + size + "," + row.sha256 + "," +
                   Flag(row.present) + "," + Flag(row.archived) + "," + CsvField(row.archiveUrl) + "\r\n");
    } else {
        out_.Write(std::string(first_ ? "\n" : ",\n") + "  {\"url\": " + JsonString(row.url) +
                   ", \"cache_file\": " + JsonString(row.cacheFile) + ", \"mime_type\": " +
                   JsonString(row.mimeType) + ", \"category\": " + JsonString(row.category) +
                   ", \"timestamp\": " + JsonString(row.timestamp) +
                   ", \"size\": " + (size.empty() ? "null" : size) +
                   ", \"sha256\": " + (row.sha256.empty() ? "null" : JsonString(row.sha256)) +
                   ", \"present\": " + Flag(row.present) + ", \"archived\": " + Flag(row.archived) +
                   ", \"archive_url\": " + JsonString(row.archiveUrl) + "}");
    }
    first_ = false;
}

void ManifestWriter::Finish() {
    if (format_ == ManifestFormat::Json) out_.Write(first_ ? "]\n" : "\n]\n");
}

}  // namespace restash
