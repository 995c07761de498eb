#pragma once
// The browser's history file. A run copies the old history into a new file
// beside it, leaving out every record of a local file ("file:..."), appends
// one record for each offline file a converted link reaches, and then puts
// the new file in the place of the old one in a single rename (the two lie
// in one folder, so on one file system). When the old file cannot be read,
// or the new one cannot be written or put in place, the old history stays as
// it was and the run is told why; the history never ends a run.
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/file_system.h"

namespace restash {

// The next record of a history file: CR and LF characters are skipped, then
// the characters up to the next CR or LF (or the end) are the record. Empty
// only at the end of the file.
std::string ReadHistoryRecord(std::istream& in);

// The new history file. It stays open from the copy of the old records until
// it replaces the old file, so the link converter can append to it.
class HistoryFile {
public:
    // Creates (or empties) path. Throws FileError when it cannot.
    HistoryFile(FileSystem& fs, std::string path);
    HistoryFile(const HistoryFile&) = delete;
    HistoryFile& operator=(const HistoryFile&) = delete;

    // Writes record + CR CR LF and flushes, so a record is on disk as soon
    // as it is added. A write that fails makes the file failed (see
    // Failure()): it is removed and later records are dropped.
    void Add(std::string_view record);
    const std::string& Path() const { return path_; }

    // True once every record of the old file was copied; a file whose copy
    // did not finish must not replace the old history.
    bool Complete() const { return complete_ && failure_.empty(); }
    void MarkComplete() { complete_ = true; }
    // Why the new file cannot replace the old one ("path: problem"); empty
    // while nothing went wrong.
    const std::string& Failure() const { return failure_; }

    // Flushes and closes; no-op when already closed.
    void Close();
    // Closes quietly and removes the file (it is not going to be used).
    void Discard();
    // Discards the file for the reason of e.
    void Fail(const Error& e);

private:
    FileSystem& fs_;
    std::string path_;
    std::unique_ptr<OutputFile> out_;
    bool complete_ = false;
    std::string failure_;
};

// Copies the records of in that are not empty and do not begin with "file:"
// (in any case) to out, to the end of in, and marks out complete.
void CopyHistoryRecords(std::istream& in, HistoryFile& out);

// Opens the old history at histPath, creates the new one beside it
// (histPath.restash-new) and copies the records into it. The new file is
// returned open for appending. Throws FileError naming the file that could
// not be read or written; a history file the user may not write is not
// rewritten either.
std::unique_ptr<HistoryFile> CopyHistory(FileSystem& fs, const std::string& histPath);

// Closes the new file and renames it over histPath in one step; true when
// it did. A file that failed or whose copy did not finish is discarded and
// the old history stays as it is; so it does when closing or renaming fails
// (the reason is then the new file's Failure()).
bool ReplaceHistory(FileSystem& fs, HistoryFile& newFile, const std::string& histPath);

}  // namespace restash
