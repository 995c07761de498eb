#pragma once
// A WACZ package (version 1.1.1), the ZIP file ReplayWeb.page and the other
// Webrecorder tools load: the archive as archive/data.warc.gz and its index
// as indexes/index.cdxj, both stored uncompressed so a replay tool can read
// any record by its offset; pages/pages.jsonl, the list of pages a replay
// tool shows; datapackage.json, naming every file with its SHA-256 and size;
// and datapackage-digest.json, the SHA-256 of datapackage.json. Everything
// is streamed into the ZIP file as it is made.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/export/zip_writer.h"
#include "core/platform/file_system.h"

namespace restash {

inline constexpr const char* kWaczArchiveName = "data.warc.gz";

struct WaczPage {
    std::string url;         // as the archive files it (the browser's form)
    std::int32_t stamp = 0;  // the entry's time stamp, seconds since 1970 UTC
    std::string title;       // UTF-8; empty when the page has none
    std::string id;          // unique within the package
};

// A file of the package as datapackage.json names it.
struct WaczResource {
    std::string path;
    std::string hash;  // "sha256:" and hex
    std::uint64_t bytes = 0;
};

// What datapackage.json says of the package besides its files.
struct WaczDescription {
    std::string title;  // UTF-8
    std::int64_t created = 0;
    std::string software;
};

class WaczWriter {
public:
    // created also dates every member of the ZIP file.
    WaczWriter(OutputFile& out, std::int64_t created);
    ~WaczWriter();
    WaczWriter(const WaczWriter&) = delete;
    WaczWriter& operator=(const WaczWriter&) = delete;

    // The archive's member; call first, and write the whole archive to it.
    OutputFile& Archive();
    // The index's member; ends the archive's.
    OutputFile& Index();
    // The page list, datapackage.json, its digest and the ZIP file's
    // directory. The output file is left open.
    void Finish(const std::vector<WaczPage>& pages, const WaczDescription& description);

private:
    class HashedFile;

    OutputFile& BeginHashed(std::string path, bool large);
    void EndHashed();

    ZipWriter zip_;
    std::unique_ptr<HashedFile> open_;
    std::vector<WaczResource> resources_;
};

// The page a replay tool may open first (datapackage.json's mainPageUrl):
// the home page of a site (an address whose path is "/", without a query)
// when the pages hold exactly one such address, otherwise the page when all
// pages share one address; the latest of the pages with that address. None
// when no page is the obvious start.
std::optional<std::size_t> MainPage(const std::vector<WaczPage>& pages);

}  // namespace restash
