#include "core/offline/page_list.h"

#include <cerrno>

#include "core/platform/error.h"
#include "core/web/charset.h"

namespace restash {
namespace {

// Titles (UTF-8) are kept in windows-1252 where they fit, like the list's
// other single-byte texts, else in UTF-8; either reads back.
std::string StoredTitle(const std::string& title) { return Utf8ToWindows1252(title).value_or(title); }
std::string ReadTitle(const std::string& bytes) { return IsValidUtf8(bytes) ? bytes : ToUtf8(bytes, "windows-1252"); }

}  // namespace

PageListReader::PageListReader(std::string path) : path_(std::move(path)) {
    in_.open(path_, std::ios::binary);
    if (!in_) ThrowErrno(path_, errno ? errno : ENOENT);
}

bool PageListReader::ReadLine(std::string& line) {
    line.clear();
    if (!std::getline(in_, line)) {
        if (in_.bad()) ThrowErrno(path_, EIO);
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool PageListReader::Next(CopiedFile& record) {
    record = CopiedFile{};
    if (!ReadLine(record.url)) return false;
    ReadLine(record.title);
    record.title = ReadTitle(record.title);
    ReadLine(record.path);
    record.page = record.listed = true;
    return true;
}

void WritePageList(OutputFile& out, const CopiedFiles& files) {
    constexpr const char* kCrLf = "\r\n";
    for (const CopiedFile& file : files.records())
        if (file.listed) out.Write(file.url + kCrLf + StoredTitle(file.title) + kCrLf + file.path + kCrLf);
}

}  // namespace restash
