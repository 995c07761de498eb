// The text form of Netscape's cache index: a header line, then one line per
// cached object with tab-separated fields.
#include <cstdint>
#include <string>

#include "core/cache/netscape_readers.h"
#include "core/cache/text_lines.h"
#include "core/platform/warning.h"

namespace restash {

namespace {
constexpr long kLinesPerMessagePoint = 20;
}  // namespace

CacheRead ReadTextIndex(std::string_view bytes, const std::string& indexPath, const CacheFolder& folder,
                        CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options) {
    LineReader reader(bytes);
    reader.Next();  // the header line

    CacheRead read;
    std::size_t skipped = 0;
    long count = 0;
    while (!reader.AtEnd()) {
        // A stop request ends the read with the entries accepted so far.
        if (count % kLinesPerMessagePoint == 0 && !progress.ProcessMessages()) {
            read.ending = Ending::Stopped;
            return read;
        }
        ++count;
        const TextIndexLine line = SplitTextIndexLine(reader.Next());
        if (!line.complete) continue;  // nothing after the seventh field: not an entry

        const bool present = folder.Exists(CacheFileNamePart(line.fields[3]));
        if (!present && !options.includeAbsent) continue;

        std::int32_t stamp = 0;
        if (!ParseStamp(StampText(line), stamp)) {
            // One bad line costs that line only. The header is line 1.
            ++skipped;
            read.warnings.push_back(FileWarning(WarningCode::EntryDamaged, indexPath,
                                                "line " + std::to_string(count + 1) + ": the time stamp '" +
                                                    std::string(StampText(line)) +
                                                    "' is not a number; the line was skipped"));
            continue;
        }
        CacheEntry entry = TextLineEntry(line, stamp);
        entry.Body.Present = present;
        entries.push_back(std::move(entry));
    }
    if (skipped > 0)
        read.warnings.push_back(DamagedIndexWarning(
            indexPath,
            std::to_string(skipped) + (skipped == 1 ? " line was" : " lines were") +
                " skipped, their time stamp not a number",
            entries.size()));
    return read;
}

}  // namespace restash
