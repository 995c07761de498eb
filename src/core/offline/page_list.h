#pragma once
// The page list a run leaves behind ("HTMINDEX.HTM" until the index pages
// replace it, "HTMLIST" afterwards): three lines per converted page, ended by
// CR LF: the page's address, its title and its local file name.
#include <fstream>
#include <string>
#include <string_view>

namespace restash {

struct PageRecord {
    std::string url;
    std::string title;
    std::string localName;
};

// Streams the records of a page list. A last record that lacks lines gets
// empty ones for them. Lines are taken whole; a CR before the LF is dropped.
class PageListReader {
public:
    // Throws a FileError naming path when it cannot be opened.
    explicit PageListReader(std::string path);
    // Reads the next record; false at the end of the file.
    bool Next(PageRecord& record);
    const std::string& path() const { return path_; }

private:
    bool ReadLine(std::string& line);

    std::string path_;
    std::ifstream in_;
};

}  // namespace restash
