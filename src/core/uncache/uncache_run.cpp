#include "core/uncache/uncache_run.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/app/browser_bridge.h"
#include "core/app/program_dir.h"
#include "core/cache/browsable_body.h"
#include "core/index/frameset_index.h"
#include "core/index/page_index.h"
#include "core/links/page_pass.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/file_read_buffer.h"
#include "core/platform/text.h"
#include "core/offline/history.h"
#include "core/offline/copied_files.h"
#include "core/offline/page_list.h"
#include "core/offline/offline_build.h"
#include "core/offline/offline_tree.h"
#include "core/uncache/copy_targets.h"
#include "core/web/file_kind.h"
#include "core/web/url.h"

namespace restash {

namespace {

constexpr const char* kCrLf = "\r\n";

// A copied page waiting for its links to be converted: its record among the
// copied files, the body its unconverted bytes are read from, whether they
// are read decoded (else as stored: a body that is not of its coding), and
// the charset the cache gives for it to declare in the copy.
struct PageToConvert {
    std::size_t record;
    std::unique_ptr<EntryBody> body;
    bool decoded;
    std::string charset;
};

// An error about a file of the new copy names the file the user will know:
// the one in the offline root. A disk that fills while the new copy is built
// beside the previous one says that it cannot hold both.
FileError RunError(const FileError& e, const OfflineBuild& build, const std::string& root) {
    std::string path = e.path();
    const std::string& folder = build.Folder();
    if (path.compare(0, folder.size(), folder) == 0) path = root + path.substr(folder.size());
    else if (path + kSeparator == folder) path = root;
    const bool full = e.problem() == DescribeErrno(ENOSPC) || e.problem() == DescribeErrno(EDQUOT);
    if (!full || !build.ReplacesCopy()) return FileError(path, e.problem());
    return FileError(path, e.problem() + ": the new offline copy does not fit beside the previous one, which is "
                                          "kept as it was");
}

// Reads a whole body as a browser would see it and throws away its bytes: a
// page whose body cannot be read is left out before any other page's link is
// pointed at it, and a body that does not decode is known before it is used.
DecodeStatus ReadThrough(const EntryBody& body, std::string& problem) {
    return ReadBrowsableBody(body, [](std::string_view) { return true; }, &problem);
}

class Run {
public:
    Run(const Settings& settings, const CacheSource& source, const CacheEntryList& entries, const Selection& selection,
        RunServices& services, const RunOptions& options)
        : settings_(settings), source_(source), entries_(entries), selection_(selection), s_(services),
          options_(options) {}

    RunOutcome Go();

private:
    // A "process messages" point; a stop request is kept until the run ends.
    void Process() {
        if (!s_.progress.ProcessMessages()) stop_ = true;
    }
    void Phase(const char* text) {
        s_.progress.Phase(text);
        Process();
    }

    void DecideHistory();
    void StartHistory();
    void HistoryNotUpdated(const std::string& reason);
    void PrepareTree(OfflineBuild& build);
    void CopyFiles();
    void CopyEntry(const CacheEntry& entry);
    void NoteUndecoded(const std::string& url, const EntryBody& body, DecodeStatus status, const std::string& problem);
    void ConvertPages();
    void ReplaceHistoryFile();
    void LeavePageList();
    void WriteIndex();
    RunOutcome End(OfflineBuild& build);

    const Settings& settings_;
    const CacheSource& source_;
    const CacheEntryList& entries_;
    const Selection& selection_;
    RunServices& s_;
    RunOptions options_;

    // Where the run writes: the new copy beside the offline root. What the
    // files say of the root (the history's addresses) names the root itself.
    std::string root_;
    bool stop_ = false;
    bool historyValid_ = false;
    std::unique_ptr<HistoryFile> history_;
    std::unique_ptr<BodyLookup> bodies_;
    CopiedFiles files_;
    HistoryPaths historyPaths_;
    std::vector<PageToConvert> pages_;
    LocalNames names_;
    std::unique_ptr<OutputFile> conversionList_;
    RunOutcome outcome_;
};

void Run::DecideHistory() {
    if (!options_.history || !source_.Traits().rewritesHistory) return;
    if (PathExists(settings_.HistPath)) {
        historyValid_ = true;
    } else {
        outcome_.historyMissing = true;
        s_.messages.Show(MessageKind::Warning, kBadHistoryPath);
    }
}

// The history never ends a run: when it cannot be read or replaced the copy
// is made all the same, the history stays as it was and the user is told.
void Run::StartHistory() {
    try {
        history_ = CopyHistory(s_.fs, settings_.HistPath);
    } catch (const Error& e) {
        HistoryNotUpdated(e.what());
    }
}

void Run::HistoryNotUpdated(const std::string& reason) {
    historyValid_ = false;
    outcome_.historyNotUpdated = HistoryNotUpdatedText(settings_.HistPath, reason);
    s_.messages.Show(MessageKind::Warning, outcome_.historyNotUpdated);
}

void Run::PrepareTree(OfflineBuild& build) {
    Phase(kPhaseDirectories);
    root_ = build.Start();
    const std::string& root = root_;
    CreateAndEmpty(s_.fs, root);
    CreateAndEmpty(s_.fs, root + kMediaFolder);
    for (const char* image : kSupportImages) {
        const std::string source = FindSupportFile(settings_.ProgramDir, image);
        if (!source.empty()) s_.fs.CopyFile(source, root + kMediaFolder + image);
    }
    CreateAndEmpty(s_.fs, root + kOthersFolder);
    CreateAndEmpty(s_.fs, root + kTempFolder);
    conversionList_ = s_.fs.Create(root + kPageList);
    {
        auto dummy = s_.fs.Create(root + kTempFolder + kIndexPage);
        dummy->Write("DUMMY\r\n");
        dummy->Close();
    }
    // Whatever is in place now (the support images, the dummy page, a file
    // that could not be deleted) is never overwritten by a copy.
    for (const char* folder : {"", kMediaFolder, kOthersFolder, kTempFolder})
        for (const std::string& name : TakenNames(root + folder)) names_.Take(ToUpperAscii(folder), name);
}

void Run::CopyEntry(const CacheEntry& entry) {
    if (!IsSelected(entry, selection_)) return;
    std::unique_ptr<EntryBody> body = bodies_->Find(entry);
    if (!body) {
        // Gone since the index was read: skipped.
        outcome_.bodiesGone.push_back({CleanURL(entry.Url), entry.Body.Name, {}});
        return;
    }
    const CopyTarget target = TargetFor(entry, names_);
    const std::string& url = target.url;
    const std::string& folder = target.folder;
    const std::string& fileName = target.fileName;
    const bool isPage = target.isPage;

    // The points around each copy where the window is kept responsive; a
    // page is read through here too, though its bytes are only written when
    // its links are converted.
    Process();
    DecodeStatus decoding = DecodeStatus::Decoded;
    std::string problem;
    try {
        if (isPage)
            decoding = ReadThrough(*body, problem);
        else
            decoding = CopyBrowsableBody(*body, s_.fs, root_ + folder + fileName, &problem);
    } catch (const FileError& e) {
        // No partial copy stays. Only a cache file that cannot be read is
        // left out; a copy that cannot be written (a full disk) ends the run.
        if (!isPage) {
            try {
                s_.fs.Remove(root_ + folder + fileName);
            } catch (...) {
            }
        }
        if (e.path() != body->Label()) throw;
        outcome_.copyFailures.push_back({url, body->Label(), e.what()});
        Process();
        return;
    }
    Process();
    if (decoding != DecodeStatus::Decoded) NoteUndecoded(url, *body, decoding, problem);
    if (isPage) {
        // Pages are converted straight from the cache file: the staged copy
        // would hold exactly the same bytes.
        conversionList_->Write(fileName + kCrLf + target.mapped.baseURL + kCrLf + url + kCrLf);
        pages_.push_back({files_.AddPage(url, target.Path(), target.mapped.baseURL), std::move(body),
                          decoding != DecodeStatus::Failed,
                          source_.Traits().declaresCharset ? entry.Charset : std::string()});
    } else {
        ++outcome_.filesCopied;
        files_.Add(url, folder + fileName);
    }
}

void Run::NoteUndecoded(const std::string& url, const EntryBody& body, DecodeStatus status,
                        const std::string& problem) {
    const char* kept = status == DecodeStatus::Failed ? "copied as stored" : "copied as far as it decodes";
    outcome_.undecoded.push_back({url, body.Label(), body.Label() + ": " + problem + "; " + kept});
}

void Run::CopyFiles() {
    Phase(kPhaseCopying);
    bodies_ = source_.Bodies();
    const std::size_t total = entries_.size();
    for (std::size_t i = 0; i < total && !stop_; ++i) {
        if (i % 10 == 0) Process();  // a stop ends the loop after this entry
        CopyEntry(entries_[i]);
        s_.progress.Gauge(static_cast<int>((i + 1) * 100 / total));
    }
    conversionList_->Close();
    conversionList_.reset();
}

void Run::ConvertPages() {
    s_.progress.Phase(kPhaseConverting);
    s_.progress.Gauge(0);
    Process();

    LinkContext context{files_,               historyPaths_,
                        historyValid_,        history_.get(),
                        OfflineURL(settings_), std::to_string(selection_.NowStamp),
                        settings_.NotFoundURL};
    const Emphasis emphasis{settings_.EmphTag, settings_.Tag};

    const std::size_t pageCount = pages_.size() + 1;
    for (std::size_t j = 0; j < pages_.size() && !stop_; ++j) {
        if (j % 10 == 0) Process();
        const PageToConvert& page = pages_[j];
        const CopiedFile& file = files_.records()[page.record];
        const std::string out = root_ + file.path;
        try {
            const std::unique_ptr<std::streambuf> bytes = page.decoded ? OpenBrowsable(*page.body) : page.body->Open();
            files_.List(page.record,
                        ConvertPageFile(s_.fs, *bytes, out, file.baseURL, file.url, context, emphasis, page.charset));
            ++outcome_.pagesConverted;
            ++outcome_.filesCopied;
        } catch (const FileError& e) {
            if (e.path() != page.body->Label()) throw;
            // The page's cache file cannot be read: it is left out like a
            // page whose copy failed.
            try {
                s_.fs.Remove(out);
            } catch (...) {
            }
            outcome_.copyFailures.push_back({file.url, page.body->Label(), e.what()});
        }
        s_.progress.Gauge(static_cast<int>((j + 1) * 100 / pageCount));
    }
    s_.progress.Gauge(0);
}

void Run::ReplaceHistoryFile() {
    if (!history_) return;
    if (!ReplaceHistory(s_.fs, *history_, settings_.HistPath) && !history_->Failure().empty())
        HistoryNotUpdated(history_->Failure());
    history_.reset();
}

// The page list for the search, from the records of the pages converted.
void Run::LeavePageList() {
    const std::string temp = root_ + kTempFolder;
    if (PathExists(temp)) {
        DeleteFiles(s_.fs, temp);
        s_.fs.RemoveDirectory(temp);
    }
    s_.fs.Remove(root_ + kPageList);
    auto list = s_.fs.Create(root_ + kPageList);
    WritePageList(*list, files_);
    list->Close();
    Process();
}

void Run::WriteIndex() {
    s_.progress.Phase(kPhaseIndex);
    Process();
    IndexInputs in{root_, selection_.Domains.Names(), files_, s_.clock, s_.timeLocale, s_.progress, s_.fs};
    if (source_.Traits().framesetIndex)
        WriteFramesetIndex(in);
    else
        WritePageIndex(in);
    // The index pages are written whole: a stop asked for meanwhile is
    // dropped, as the writers do.
    stop_ = false;
    s_.progress.Phase("");
    s_.progress.Gauge(0);
}

RunOutcome Run::End(OfflineBuild& build) {
    if (!outcome_.copyFailures.empty()) s_.messages.Show(MessageKind::Warning, CopyFailuresText(outcome_.copyFailures));
    if (!outcome_.undecoded.empty()) s_.messages.Show(MessageKind::Warning, UndecodedText(outcome_.undecoded));
    if (stop_) {
        s_.progress.Phase(kPhaseCleaning);
        Process();
        // The new copy goes; the previous one was never touched.
        try {
            build.Abandon();
        } catch (const Error&) {
            // What is left beside the root is cleared by the next run.
        }
        s_.progress.Phase("");
        s_.progress.Gauge(0);
        outcome_.ending = Ending::Stopped;
        return outcome_;
    }
    const Answer answer =
        s_.messages.Show(MessageKind::Confirmation, kUncachingComplete, Buttons::YesNo);
    if (answer == Answer::Yes) {
        if (IsFile(settings_.NetscapeProgramPath())) {
            outcome_.viewIndexRequested = true;
            return outcome_;
        }
        s_.messages.Show(MessageKind::Error, kCouldNotOpenNetscape);
    }
    ShowIndexInstructions(settings_, s_.messages);
    return outcome_;
}

RunOutcome Run::Go() {
    DecideHistory();
    OfflineBuild build(s_.fs, settings_.OfflineDir);
    try {
        if (historyValid_) {
            Phase(kPhaseHistory);
            // A stop heard as the phase begins leaves the old history untouched.
            if (!stop_) StartHistory();
        }
        PrepareTree(build);
        CopyFiles();
        ConvertPages();
        if (!stop_) LeavePageList();
        if (!stop_) {
            WriteIndex();
            build.Commit();
        }
        ReplaceHistoryFile();  // also after a stop
    } catch (const FileError& e) {
        // The run ends with the error; the user's history file stays as it
        // was, the new one is not left behind, and neither is the new copy.
        if (history_) history_->Discard();
        throw RunError(e, build, settings_.OfflineDir);
    } catch (...) {
        if (history_) history_->Discard();
        throw;
    }
    files_.clear();
    historyPaths_.clear();
    return End(build);
}

}  // namespace

namespace {

std::string FailuresText(std::string text, const std::vector<CopyFailure>& failures) {
    for (std::size_t i = 0; i < failures.size() && i < 10; ++i) text += "\r" + failures[i].what;
    if (failures.size() > 10) text += "\r...";
    return text;
}

}  // namespace

std::string CopyFailuresText(const std::vector<CopyFailure>& failures) {
    return FailuresText(std::to_string(failures.size()) + " cache file(s) could not be read and were left out:",
                        failures);
}

std::string UndecodedText(const std::vector<CopyFailure>& bodies) {
    return FailuresText(std::to_string(bodies.size()) + " cache file(s) could not be decoded:", bodies);
}

std::string HistoryNotUpdatedText(const std::string& histPath, const std::string& reason) {
    return "The history file " + histPath + " was left as it was: " + reason;
}

RunOutcome RunUncache(const Settings& settings, const CacheSource& source, const CacheEntryList& entries,
                      const Selection& selection, RunServices& services, const RunOptions& options) {
    Run run(settings, source, entries, selection, services, options);
    return run.Go();
}

}  // namespace restash
