#pragma once
// The seam between the program and a cache format. A cache source reads a
// cache's entries, opens their bodies and, where the format allows it,
// removes entries. Everything above this folder speaks of entries and bodies
// only: no caller joins a cache folder and a file name, so a format whose
// bodies live inside larger files plugs in here without touching the jobs.
//
// A new format is a class deriving from CacheSource with its own traits,
// reader, body lookup and (optionally) removal, and a case in
// OpenCacheSource that recognises its index file or folder.
#include <cstdint>
#include <functional>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "core/cache/body_decoding.h"
#include "core/cache/cache_entry.h"
#include "core/platform/warning.h"
#include "core/platform/file_system.h"
#include "core/platform/progress.h"

namespace restash {

// How a deletion takes entries out of a cache.
enum class RemovalKind {
    None,           // the format cannot remove entries
    ListOnly,       // bodies are removed and the entries leave the list read; the index file stays as it is
    RewritesIndex,  // the index is rewritten without the entries' records; the list must be read again
};

// What the rest of the program asks of a cache instead of which format it is.
struct CacheTraits {
    IndexFormat format = IndexFormat::TextIndex;
    std::int32_t stampShift = 0;     // "now" is taken this many seconds earlier to compare with the stamps
    bool otherFilesAtFirst = false;  // the selection starts with the "other" files ticked
    bool rewritesHistory = false;    // an uncaching run rewrites the browser's history file
    bool framesetIndex = false;      // the offline index is a frameset, else a single page
    RemovalKind removal = RemovalKind::None;
    bool utcStamps = false;          // stamps count UTC seconds, not the writer's local clock
    // A page's copy declares the charset the cache gives for it (from the
    // response head the later browsers kept); Netscape's copies stay as
    // they always were.
    bool declaresCharset = false;
    std::string family;              // the browsers the cache came from: "Netscape 2-4", "Firefox 32+ (cache2)"
};

// The traits of the two forms of Netscape's cache index.
CacheTraits NetscapeTraits(IndexFormat format);

// "Netscape text index", "Netscape hash index", "Mozilla disk cache",
// "cache2", "Netscape 6.0 cache".
const char* IndexFormatName(IndexFormat format);

// How a read ended, and what the reader warns of (a damaged record it
// passed over, a body that is missing): the warnings travel up to the job's
// outcome.
struct CacheRead {
    Ending ending = Ending::Finished;  // Stopped: the entries read by then are kept
    Warnings warnings;
};

struct ReadOptions {
    // Also list the entries whose body is missing (BodyRef::Present false);
    // by default they are left out, as the selection counts present bodies only.
    bool includeAbsent = false;
};

// One entry's body, found by its source.
class EntryBody {
public:
    virtual ~EntryBody() = default;
    // How errors name the body: a cache file's path.
    virtual const std::string& Label() const = 0;
    // The plain file that holds exactly the body, when there is one: a copy
    // can then be made by the file system, byte for byte, without reading it.
    virtual const std::string* PlainFile() const { return nullptr; }
    // Reads the body from its start, as stored; throws FileError naming
    // Label() when it cannot be opened, and when a read fails.
    virtual std::unique_ptr<std::streambuf> Open() const = 0;
    // The content coding the body is stored in (gzip, deflate, br where the
    // response head says so), which the browsable copy undoes; the export
    // keeps the stored bytes.
    virtual ContentCoding Coding() const { return ContentCoding::Identity; }
};

// Hands the body over in pieces of at most 64 KiB, from its start; throws
// FileError naming the body when it cannot be read.
void ReadBodyInPieces(const EntryBody& body, const std::function<void(std::string_view)>& piece);

// A byte-for-byte copy of the body into to (created or overwritten): by the
// file system when the body is a plain file, else through its stream. A read
// failure throws FileError naming the body, a write failure naming to.
void CopyBody(const EntryBody& body, FileSystem& fs, const std::string& to);

// The bodies of a source as they are now (a Netscape source lists its cache
// folder once per lookup object).
class BodyLookup {
public:
    virtual ~BodyLookup() = default;
    // The body of an entry this source read, or nothing when it is absent
    // (missing, or named so that it would lie outside the cache).
    virtual std::unique_ptr<EntryBody> Find(const CacheEntry& entry) const = 0;
};

// Which entries a removal takes.
using EntryFilter = std::function<bool(const CacheEntry&)>;

// A body a removal could not take out of the cache.
struct RemovalFailure {
    std::string url;
    std::string body;  // the body's name
    std::string what;  // "path: problem"
};

// What a removal would take: the bodies it would remove and, where the
// format keeps an index it rewrites, the index lines it would drop.
struct PlannedBody {
    std::string url;
    std::string body;  // the body's name
    std::string path;  // where it is
};
struct PlannedLine {
    std::size_t number = 0;  // counted from the index's first line as 1
    std::string text;        // without its line break
    std::string url;
};
struct RemovalPlan {
    Ending ending = Ending::Finished;  // Stopped: the plan is not whole
    std::vector<PlannedBody> bodies;
    std::vector<PlannedLine> indexLines;
};

struct Removal {
    Ending ending = Ending::Finished;     // Stopped: nothing was removed
    std::uint64_t entriesRemoved = 0;     // entries, or index records
    std::uint64_t bodiesRemoved = 0;      // bodies removed from the cache
    std::vector<RemovalFailure> failures;
};

class CacheSource {
public:
    virtual ~CacheSource() = default;

    virtual const CacheTraits& Traits() const = 0;
    // The index file (or the cache folder) as the source was opened on.
    virtual const std::string& Location() const = 0;

    // Fills entries from the cache, emptying them first once the index could
    // be opened. Shows the busy state through progress and clears it however
    // the read ends; reports Stopped when progress said to stop (the entries
    // read by then stay). Throws FileError when the index cannot be opened
    // (entries keep what they held) and Error for an index it cannot read on.
    virtual CacheRead Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options = {}) const = 0;

    virtual std::unique_ptr<BodyLookup> Bodies() const = 0;

    // Removes the entries chosen and their bodies, the way Traits().removal
    // says; entries is the list this source read (a list-only removal takes
    // the entries out of it). workFolder is where a rewritten index is
    // written before it replaces the old one. Throws FileError when the
    // index cannot be rewritten: the index and every body then stay.
    virtual Removal Remove(CacheEntryList& entries, const EntryFilter& chosen, const std::string& workFolder,
                           FileSystem& fs, ProgressSink& progress) const;
    // What Remove would take, with nothing changed.
    virtual RemovalPlan PlanRemoval(const CacheEntryList& entries, const EntryFilter& chosen,
                                    ProgressSink& progress) const;
    // Removes what an earlier removal may have left in workFolder.
    virtual void ClearLeftovers(const std::string& /*workFolder*/, FileSystem& /*fs*/) const {}
    // Why entries cannot be removed from this cache as it was last read,
    // naming the cache; empty when Remove may be called.
    virtual std::string WhyRemovalIsRefused() const;

    // The file a running browser keeps open while it uses this cache (a
    // folder: files in it), for the check that the browser does not run.
    virtual std::string LockFile() const { return Location(); }
};

// Shows the busy state with the reading caption for as long as it lives.
class ReadingBusy {
public:
    explicit ReadingBusy(ProgressSink& progress);
    ~ReadingBusy();
    ReadingBusy(const ReadingBusy&) = delete;
    ReadingBusy& operator=(const ReadingBusy&) = delete;

private:
    ProgressSink& progress_;
};

// The form of a Netscape index file by its first line: TextIndex when the
// first 10 characters, upper-cased, are "MCOM-CACHE" or "MOSAIC-COM";
// HashIndex otherwise. Throws FileError when the file cannot be opened.
IndexFormat DetectIndexFormat(const std::string& indexPath);

// Whether location names a cache a source can be opened on: an index file
// that is there, or a folder in which RecognizeCache finds a cache.
bool CacheIsThere(const std::string& location);

// The source for what the user named as the cache: an index file, a cache
// folder or a profile folder (see RecognizeCache; a profile holding several
// caches gives the first found). A file that is no Mozilla-family cache's is
// taken for a Netscape index. Throws FileError when it cannot be opened or a
// folder holds no cache, and Error "FILE is not a Netscape cache index (WHY)"
// for a file of neither Netscape form (DiagnoseIndexFile).
std::unique_ptr<CacheSource> OpenCacheSource(const std::string& location);

// The caption of the busy state while an index is read.
inline constexpr const char* kReadingCaption = "Processing Cache Index. Please Wait.";

}  // namespace restash
