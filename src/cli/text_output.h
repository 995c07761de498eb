#pragma once
// Turning the core's single-byte texts into output: UTF-8 from Latin-1,
// CSV fields, and aligned text columns for a terminal.
#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace restash::cli {

// The core's texts are single bytes; bytes above 127 are read as Latin-1.
std::string Latin1ToUtf8(std::string_view text);

// A text for one line of output: UTF-8 from Latin-1, with control
// characters (tabs and line breaks too) printed as "?".
std::string SafeText(std::string_view latin1);

// The same for a text in UTF-8 (a page title).
std::string SafeUtf8Text(std::string_view utf8);

// A field of an RFC 4180 record: quoted (with doubled quotes) when it holds
// a comma, a quote, CR or LF.
std::string CsvField(std::string_view utf8);

// Rows of cells printed as aligned columns; the last column is not padded.
// Cells are Latin-1 bytes; control characters print as "?" so that an index
// cannot send escape sequences to the terminal. The cells are kept end to end
// in one buffer, so a table of 100,000 rows costs little more than its text.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header, std::vector<bool> rightAligned = {});
    void Add(std::initializer_list<std::string_view> row);
    void Print(std::ostream& out) const;

private:
    struct Cell {
        std::size_t offset;  // into text_
        std::size_t length;
        std::size_t width;   // in characters
    };
    void AddCell(std::size_t offset);

    std::string text_;                 // every cell, UTF-8, header first
    std::vector<Cell> cells_;
    std::vector<std::size_t> rowStarts_;  // the first cell of each row
    std::size_t columns_;
    std::vector<bool> rightAligned_;
};

}  // namespace restash::cli
