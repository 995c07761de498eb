#pragma once
// The page list a run leaves as "HTMLIST" for the search: three lines per
// converted page, each ended by CR LF: the page's address, its title and its
// local file name, in conversion order. A title is written in windows-1252
// when it fits, else in UTF-8; records hold it in UTF-8.
#include <fstream>
#include <string>

#include "core/offline/copied_files.h"
#include "core/platform/file_system.h"

namespace restash {

// Writes the listed pages of files.
void WritePageList(OutputFile& out, const CopiedFiles& files);

// Streams the records of a page list. A last record that lacks lines gets
// empty ones for them. Lines are taken whole; a CR before the LF is dropped.
class PageListReader {
public:
    // Throws a FileError naming path when it cannot be opened.
    explicit PageListReader(std::string path);
    // Reads the next record into url, title and path (a listed page); false
    // at the end of the file.
    bool Next(CopiedFile& record);
    const std::string& path() const { return path_; }

private:
    bool ReadLine(std::string& line);

    std::string path_;
    std::ifstream in_;
};

}  // namespace restash
