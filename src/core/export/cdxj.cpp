#include "core/export/cdxj.h"

#include <algorithm>

#include "core/export/archive_uri.h"
#include "core/export/json_text.h"
#include "core/export/utc_time.h"

namespace restash {

std::string CdxjLine(const CdxjRecord& r) {
    // Lengths and offsets as strings, as the replay tools' own indexer writes them.
    return SurtKey(r.uri) + " " + Timestamp14(r.stamp) + " {\"url\": " + JsonString(r.uri) +
           ", \"mime\": " + JsonString(r.mime) + ", \"digest\": " + JsonString(r.digest) + ", \"length\": \"" +
           std::to_string(r.placement.length) + "\", \"offset\": \"" + std::to_string(r.placement.offset) +
           "\", \"filename\": " + JsonString(r.fileName) + "}";
}

void WriteSortedCdxj(std::vector<std::string>& lines, OutputFile& out) {
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) {
        out.Write(line);
        out.Write("\n");
    }
}

}  // namespace restash
