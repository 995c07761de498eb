#include "core/offline/history.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/error.h"
#include "core/platform/file_read_buffer.h"
#include "core/platform/text.h"

namespace restash {
namespace {

bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string ReadHistoryRecord(std::istream& in) {
    std::streambuf* buf = in.rdbuf();
    using Traits = std::char_traits<char>;
    int c = buf->sgetc();
    while (c != Traits::eof() && IsLineEnd(c)) c = buf->snextc();
    std::string record;
    while (c != Traits::eof() && !IsLineEnd(c)) {
        record += Traits::to_char_type(c);
        c = buf->snextc();
    }
    return record;
}

HistoryFile::HistoryFile(FileSystem& fs, std::string path)
    : fs_(fs), path_(std::move(path)), out_(fs_.Create(path_)) {}

void HistoryFile::Add(std::string_view record) {
    if (!failure_.empty()) return;
    try {
        if (!out_) throw FileError(path_, "File not open");
        out_->Write(record);
        out_->Write("\r\r\n");
        out_->Flush();
    } catch (const Error& e) {
        Fail(e);
    }
}

void HistoryFile::Close() {
    if (!out_) return;
    // Dropped before Close() so a failing close is not retried on destruction.
    std::unique_ptr<OutputFile> out = std::move(out_);
    out->Close();
}

void HistoryFile::Discard() {
    out_.reset();
    try {
        fs_.Remove(path_);
    } catch (const Error&) {
        // A leftover file is emptied by the next run.
    }
}

void HistoryFile::Fail(const Error& e) {
    if (failure_.empty()) failure_ = e.what();
    Discard();
}

namespace {

// Replacing a file its owner made read-only would overrule them, even where
// the folder lets the run put a new file in its place (and for root).
void CheckWritable(const std::string& histPath) {
    struct stat st {};
    if (::stat(histPath.c_str(), &st) != 0) ThrowErrno(histPath, errno);
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw FileError(histPath, "the file is read-only");
    if (::access(histPath.c_str(), W_OK) != 0) ThrowErrno(histPath, errno);
}

}  // namespace

void CopyHistoryRecords(std::istream& in, HistoryFile& out) {
    for (;;) {
        const std::string record = ReadHistoryRecord(in);
        if (record.empty()) break;  // only at the end
        if (StartsWithNoCase(record, "file:")) continue;
        out.Add(record);
    }
    out.MarkComplete();
}

std::unique_ptr<HistoryFile> CopyHistory(FileSystem& fs, const std::string& histPath) {
    CheckWritable(histPath);
    FileReadBuffer buffer(histPath);
    std::istream in(&buffer);
    auto out = std::make_unique<HistoryFile>(fs, TemporaryNameFor(histPath));
    try {
        CopyHistoryRecords(in, *out);
    } catch (...) {
        out->Discard();
        throw;
    }
    if (!out->Failure().empty()) throw Error(out->Failure());
    return out;
}

bool ReplaceHistory(FileSystem& fs, HistoryFile& newFile, const std::string& histPath) {
    if (!newFile.Complete()) {
        newFile.Discard();
        return false;
    }
    try {
        newFile.Close();
        fs.Rename(newFile.Path(), histPath);
    } catch (const Error& e) {
        newFile.Fail(e);
        return false;
    }
    return true;
}

}  // namespace restash
