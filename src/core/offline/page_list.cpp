#include "core/offline/page_list.h"

#include <cerrno>

#include "core/platform/error.h"

namespace restash {

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
    ReadLine(record.path);
    record.page = record.listed = true;
    return true;
}

void WritePageList(OutputFile& out, const CopiedFiles& files) {
    constexpr const char* kCrLf = "\r\n";
    for (const CopiedFile& file : files.records())
        if (file.listed) out.Write(file.url + kCrLf + file.title + kCrLf + file.path + kCrLf);
}

}  // namespace restash
