#pragma once
// The Export job: the chosen part of a cache as a web archive (a .warc.gz
// file, a WACZ package or both), with an optional index of its records and
// an optional manifest.
#include <cstdint>
#include <optional>
#include <string>

#include "core/app/settings.h"
#include "core/export/export_archive.h"
#include "core/jobs/chosen_part.h"
#include "core/jobs/outcome.h"
#include "core/jobs/services.h"

namespace restash {

struct ExportRequest {
    Settings settings;  // the cache index (named in the archive), the browser
    SelectionRequest selection;
    std::string warc;                     // the archive, conventionally ending ".warc.gz"; empty: none
    std::optional<std::string> wacz;      // the archive packed with its index and its pages
    std::optional<std::string> cdxj;      // the index of the archive's records
    std::optional<std::string> manifest;  // ".csv" or ".json"
};

// The export's counts: chosen, archived, without a body, bytes, pages.
using ExportSummary = ExportCounts;

class ExportJob {
public:
    ExportJob(ExportRequest request, Services services);

    // Failed (Overlap) when an output would land in the cache. Every output
    // is replaced only when all are complete: a stop or a failure leaves the
    // old files as they were. Entries left out (no body, a body that cannot
    // be read, no address) come back with their reason; the manifest lists
    // them all. A browser that has the cache open is warned of, not refused.
    Outcome<ExportSummary> Run();

private:
    ExportRequest request_;
    Services services_;
    ChosenPart part_;
};

}  // namespace restash
