#include "core/cache/delete_selection.h"

#include <cerrno>
#include <optional>

#include "core/cache/cache_folder.h"
#include "core/cache/mapped_file.h"
#include "core/cache/read_cache_index.h"
#include "core/cache/text_lines.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash {
namespace {

constexpr std::string_view kRewrittenLineEnd = "\r\r\n";
constexpr long kLinesPerMessagePoint = 20;

// The selection window's busy state for the time of a deletion; the caption
// goes back to the reading caption however the deletion ends.
class DeletingState {
public:
    explicit DeletingState(SelectionModel& model) : model_(model) { model_.SetBusy(true, kDeletingCaption); }
    ~DeletingState() { End(); }
    DeletingState(const DeletingState&) = delete;
    DeletingState& operator=(const DeletingState&) = delete;
    void End() {
        if (on_) model_.SetBusy(false, kReadingCaption);
        on_ = false;
    }

private:
    SelectionModel& model_;
    bool on_ = true;
};

// Removes the cache file an index names, when it is in the cache folder.
// False when the file is there but could not be removed.
bool RemoveCacheFile(const CacheFolder& folder, std::string_view name, FileSystem& fs, DeleteSummary& summary) {
    const std::optional<std::string> path = folder.Find(name);
    if (!path) return true;  // missing, or a name that would leave the folder
    try {
        fs.Remove(*path);
        ++summary.filesDeleted;
        return true;
    } catch (const FileError& e) {
        summary.failures.push_back(e.what());
        return false;
    }
}

// A rewritten line: the line without its terminator, then CR CR LF. A last
// line that has no terminator loses nothing.
void WriteRewrittenLine(OutputFile& out, std::string_view line) {
    if (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    out.Write(line);
    out.Write(kRewrittenLineEnd);
}

// Moves the finished TEMP.FAT over the index in one rename. When the two
// folders lie on different file systems, TEMP.FAT is first copied beside the
// index so that the step that replaces the index is still a rename.
void ReplaceIndex(FileSystem& fs, const std::string& temp, const std::string& index) {
    try {
        fs.Rename(temp, index);
        return;
    } catch (const FileError& e) {
        if (e.problem() != DescribeErrno(EXDEV)) throw;
    }
    const std::string beside = TemporaryNameFor(index);
    try {
        fs.CopyFile(temp, beside);
        fs.Rename(beside, index);
    } catch (...) {
        try {
            fs.Remove(beside);
        } catch (...) {
        }
        throw;
    }
    fs.Remove(temp);
}

// Whether one line of a text index belongs to the selection, and the name of
// its cache file. A line whose time stamp is not a whole number never does.
bool LineSelected(std::string_view line, const Selection& selection, std::string_view& fileName) {
    std::string_view fields[7];
    for (auto& field : fields) field = TakeField(line);
    std::int32_t stamp = 0;
    if (!ParseStamp(fields[2].substr(0, kStampDigits), stamp)) return false;
    const Category category = ClassifyMimeType(Cut(ToUpperAscii(fields[5]), kDomainCapacity));
    if (!InAgeWindow(stamp, selection.AgeLower, selection.AgeUpper) || !selection.Includes(category)) return false;
    if (!selection.Domains.Contains(EntryDomain(fields[4]))) return false;
    fileName = CacheFileNamePart(fields[3]);
    return true;
}

DeleteSummary DeleteFromHashIndex(SelectionModel& model, const DeletePaths& paths, FileSystem& fs) {
    DeleteSummary summary;
    const Selection selection = model.CurrentSelection();
    {
        DeletingState busy(model);
        if (!model.progress().ProcessMessages()) {
            summary.stopped = true;
            return summary;
        }
        // One pass that keeps the unselected entries in order: what the walk
        // that re-examines each emptied position leaves, without its cost.
        const CacheFolder folder(paths.cacheDir);
        CacheEntryList& entries = model.Entries();
        std::size_t kept = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            // An entry whose file could not be removed (a read-only disk)
            // stays in the list: the next read of the index shows it too.
            if (IsSelected(entries[i], selection) && RemoveCacheFile(folder, entries[i].FileName, fs, summary)) {
                ++summary.entriesRemoved;
            } else {
                if (kept != i) entries[kept] = std::move(entries[i]);
                ++kept;
            }
        }
        entries.resize(kept);
        summary.deleted = true;
    }
    model.RebuildDomainLists();
    return summary;
}

DeleteSummary DeleteFromTextIndex(SelectionModel& model, const DeletePaths& paths, FileSystem& fs) {
    DeleteSummary summary;
    const Selection selection = model.CurrentSelection();
    const std::string indexPath = paths.cacheDir + paths.fatName;
    const std::string tempPath = WithTrailingSeparator(paths.programDir) + kTempFatName;
    std::vector<std::string> doomed;  // cache files of the removed lines

    DeletingState busy(model);
    try {
        const MappedFile index(indexPath);
        auto out = fs.Create(tempPath);
        LineReader reader(index.bytes());
        const std::string_view header = reader.Next();
        if (!header.empty()) WriteRewrittenLine(*out, header);

        long count = 0;
        while (!reader.AtEnd()) {
            if (count % kLinesPerMessagePoint == 0 && !model.progress().ProcessMessages()) {
                summary.stopped = true;
                break;
            }
            ++count;
            const std::string_view line = reader.Next();
            if (line.empty()) continue;  // the read that met the end of the file
            std::string_view fileName;
            if (LineSelected(line, selection, fileName)) {
                doomed.emplace_back(fileName);
                ++summary.entriesRemoved;
            } else {
                WriteRewrittenLine(*out, line);
            }
        }
        out->Close();
        if (summary.stopped) {
            fs.Remove(tempPath);
            summary.entriesRemoved = 0;
            return summary;
        }
        ReplaceIndex(fs, tempPath, indexPath);
    } catch (...) {
        try {
            fs.Remove(tempPath);
        } catch (...) {
        }
        throw;
    }

    // The index no longer names these files: remove them.
    const CacheFolder folder(paths.cacheDir);
    for (const std::string& name : doomed) RemoveCacheFile(folder, name, fs, summary);
    summary.deleted = true;
    busy.End();
    try {
        model.ReloadIndex();
    } catch (const Error& e) {
        // The deletion itself is done; the lists stay empty, as after a
        // failed first read.
        model.messages().ShowError(e.what());
    }
    return summary;
}

}  // namespace

DeleteSummary DeleteSelection(SelectionModel& model, const DeletePaths& paths, FileSystem& fs,
                              const RunningCheck& netscapeRunning) {
    if (netscapeRunning && netscapeRunning()) return {};
    fs.Remove(WithTrailingSeparator(paths.programDir) + kTempFatName);

    Messages& messages = model.messages();
    const std::uint64_t total = model.CheckedTotal();
    if (total == 0) {
        messages.Show(MessageKind::Warning, kNoFilesToDelete, Buttons::OkHelp, kNoFilesHelpTopic);
        return {};
    }
    const bool wholeCache =
        model.OldNewShown() == AgeMode::AllAges && model.SrcList().empty() && total == model.AllTotal();
    const Answer answer = messages.Show(MessageKind::Confirmation, wholeCache ? kDeleteWholeCacheQuestion : kDeleteQuestion,
                                        Buttons::YesNoCancel);
    const bool hash = model.Format() == IndexFormat::HashIndex;
    if (answer != Answer::Yes) {
        if (hash) model.RebuildDomainLists();
        return {};
    }

    DeleteSummary summary = hash ? DeleteFromHashIndex(model, paths, fs) : DeleteFromTextIndex(model, paths, fs);
    if (!summary.failures.empty()) {
        std::string text = "Could not delete " + std::to_string(summary.failures.size()) + " cache file(s):";
        constexpr std::size_t kShown = 10;
        for (std::size_t i = 0; i < summary.failures.size() && i < kShown; ++i) text += "\r\n" + summary.failures[i];
        if (summary.failures.size() > kShown) text += "\r\n...";
        messages.ShowError(text);
    }
    return summary;
}

}  // namespace restash
