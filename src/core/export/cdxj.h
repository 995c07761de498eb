#pragma once
// Index lines for the archive in the form replay tools read: the address's
// sort key, its 14-digit time stamp and a JSON object saying where the record
// lies. Sorted as plain bytes, the order those tools search by.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/export/warc_writer.h"

namespace restash {

struct CdxjRecord {
    std::string uri;       // the archived address (ArchiveUri form)
    std::int32_t stamp = 0;
    std::string mime;      // lower case, without parameters
    std::string status;    // a response record's HTTP status code; empty for other records
    std::string digest;    // "sha1:..."
    WarcPlacement placement;
    std::string fileName;  // the archive's file name, without folder
};

// One line, without its line end.
std::string CdxjLine(const CdxjRecord& record);

// Writes the lines of count records, each with "\n", in byte order. record(i)
// gives the i-th record; only the sort keys are held, and each line is made
// when it is written, so a large export keeps little in memory.
void WriteSortedCdxj(std::size_t count, const std::function<CdxjRecord(std::size_t)>& record, OutputFile& out);

}  // namespace restash
