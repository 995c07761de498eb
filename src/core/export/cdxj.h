#pragma once
// Index lines for the archive in the form replay tools read: the address's
// sort key, its 14-digit time stamp and a JSON object saying where the record
// lies. Sorted as plain bytes, the order those tools search by.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/warc_writer.h"

namespace restash {

struct CdxjRecord {
    std::string uri;       // the archived address (ArchiveUri form)
    std::int64_t stamp = 0;
    std::string mime;      // lower case, without parameters
    std::string digest;    // "sha1:..."
    WarcPlacement placement;
    std::string fileName;  // the archive's file name, without folder
};

// One line, without its line end.
std::string CdxjLine(const CdxjRecord& record);

// Sorts lines byte by byte and writes each with a "\n".
void WriteSortedCdxj(std::vector<std::string>& lines, OutputFile& out);

}  // namespace restash
