// The text form of Netscape's cache index: a header line, then one line per
// cached object with tab-separated fields.
#include <cstdint>
#include <string>

#include "core/cache/read_cache_index.h"
#include "core/cache/text_lines.h"
#include "core/platform/error.h"
#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash {

namespace {

constexpr std::size_t kFieldCount = 7;
constexpr std::size_t kMimeCapacity = 50;
constexpr long kLinesPerMessagePoint = 20;

}  // namespace

void ReadTextIndex(std::string_view bytes, const std::string& indexPath, const CacheFolder& folder,
                   CacheEntryList& entries, ProgressSink& progress) {
    LineReader reader(bytes);
    reader.Next();  // the header line

    long count = 0;
    while (!reader.AtEnd()) {
        // A stop request ends the read with the entries accepted so far; the
        // caller knows it asked.
        if (count % kLinesPerMessagePoint == 0 && !progress.ProcessMessages()) return;
        ++count;
        std::string_view line = reader.Next();

        std::string_view fields[kFieldCount];
        for (auto& field : fields) field = TakeField(line);
        if (line.empty()) continue;  // nothing after the seventh field: not an entry

        const std::string_view name = CacheFileNamePart(fields[3]);
        if (!folder.Exists(name)) continue;

        const std::string_view stampText = fields[2].substr(0, kStampDigits);
        CacheEntry entry;
        if (!ParseStamp(stampText, entry.Stamp)) {
            // The header is line 1.
            throw Error(indexPath + ": line " + std::to_string(count + 1) + ": the time stamp '" +
                        std::string(stampText) + "' is not a valid integer");
        }
        entry.FileName = std::string(name);
        entry.Url = std::string(fields[4]);
        entry.Domain = EntryDomain(entry.Url);
        entry.MimeType = Cut(ToUpperAscii(fields[5]), kMimeCapacity);
        entry.category = ClassifyMimeType(entry.MimeType);
        entries.push_back(std::move(entry));
    }
}

}  // namespace restash
