#include "core/cache/mapped_file.h"
#include "core/cache/netscape_readers.h"
#include "core/cache/netscape_source.h"
#include "core/cache/text_lines.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"

namespace restash {
namespace {

constexpr std::string_view kRewrittenLineEnd = "\r\r\n";
constexpr long kLinesPerMessagePoint = 20;

// A line without its terminator.
std::string_view Unterminated(std::string_view line) {
    if (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

// A rewritten line: the line without its terminator, then CR CR LF. A last
// line that has no terminator loses nothing.
void WriteRewrittenLine(OutputFile& out, std::string_view line) {
    out.Write(Unterminated(line));
    out.Write(kRewrittenLineEnd);
}

// Whether a line is chosen, and the entry it describes. A line whose time
// stamp is not a whole number never is.
bool LineChosen(std::string_view text, const EntryFilter& chosen, CacheEntry& entry) {
    const TextIndexLine line = SplitTextIndexLine(text);
    std::int32_t stamp = 0;
    if (!ParseStamp(StampText(line), stamp)) return false;
    entry = TextLineEntry(line, stamp);
    return chosen(entry);
}

// Walks the index's lines: the header and every line that is not chosen go
// to kept, the chosen ones (numbered from the header as 1) with their entry
// to doomed. Stopped when progress said to stop.
template <typename Kept, typename Doomed>
Ending WalkIndexLines(std::string_view index, const EntryFilter& chosen, Kept kept, Doomed doomed,
                      ProgressSink& progress) {
    LineReader reader(index);
    const std::string_view header = reader.Next();
    if (!header.empty()) kept(header);
    long count = 0;
    std::size_t number = 1;
    while (!reader.AtEnd()) {
        if (count % kLinesPerMessagePoint == 0 && !progress.ProcessMessages()) return Ending::Stopped;
        ++count;
        const std::string_view line = reader.Next();
        if (line.empty()) continue;  // the read that met the end of the file
        ++number;
        CacheEntry entry;
        if (LineChosen(line, chosen, entry))
            doomed(number, line, std::move(entry));
        else
            kept(line);
    }
    return Ending::Finished;
}

}  // namespace

CacheRead NetscapeTextSource::Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options) const {
    return ReadMappedIndex(Location(), CacheDir(), entries, progress,
                           [&](std::string_view bytes, const CacheFolder& folder, const auto&) {
                               return ReadTextIndex(bytes, Location(), folder, entries, progress, options);
                           });
}

Removal NetscapeTextSource::Remove(CacheEntryList& /*entries*/, const EntryFilter& chosen,
                                   const std::string& /*workFolder*/, FileSystem& fs, ProgressSink& progress) const {
    Removal removal;
    // Beside the index, so that the rename over it is one step on any file
    // system.
    const std::string tempPath = TemporaryNameFor(Location());
    std::vector<CacheEntry> doomed;  // the entries of the removed lines
    try {
        const MappedFile index(Location());
        auto out = fs.Create(tempPath);
        removal.ending = WalkIndexLines(
            index.bytes(), chosen, [&](std::string_view line) { WriteRewrittenLine(*out, line); },
            [&](std::size_t, std::string_view, CacheEntry&& entry) { doomed.push_back(std::move(entry)); }, progress);
        out->Close();
        if (removal.ending == Ending::Stopped) {
            fs.Remove(tempPath);
            return removal;
        }
        fs.Rename(tempPath, Location());
    } catch (const FileError& e) {
        RemoveQuietly(fs, tempPath);
        // The user knows the index by its own name.
        throw NamingTarget(e, tempPath, Location());
    } catch (...) {
        RemoveQuietly(fs, tempPath);
        throw;
    }
    removal.entriesRemoved = doomed.size();
    // The index no longer names these files: remove them.
    const CacheFolder folder(CacheDir());
    for (const CacheEntry& entry : doomed) RemoveCacheFile(folder, entry, fs, removal);
    return removal;
}

RemovalPlan NetscapeTextSource::PlanRemoval(const CacheEntryList& /*entries*/, const EntryFilter& chosen,
                                            ProgressSink& progress) const {
    RemovalPlan plan;
    const MappedFile index(Location());
    const CacheFolder folder(CacheDir());
    plan.ending = WalkIndexLines(
        index.bytes(), chosen, [](std::string_view) {},
        [&](std::size_t number, std::string_view line, CacheEntry&& entry) {
            plan.indexLines.push_back({number, std::string(Unterminated(line)), entry.Url});
            if (const std::optional<std::string> path = folder.Find(entry.Body.Name))
                plan.bodies.push_back({entry.Url, entry.Body.Name, *path});
        },
        progress);
    return plan;
}

}  // namespace restash
