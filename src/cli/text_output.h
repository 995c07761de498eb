#pragma once
// Tables for a terminal and CSV fields.
#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace restash::cli {

// A field of an RFC 4180 record: quoted (with doubled quotes) when it holds
// a comma, a quote, CR or LF.
std::string CsvField(std::string_view utf8);

// Rows of cells printed as aligned columns; the last column is not padded.
// Cells are the cache's single bytes, printed in the locale's encoding with
// control characters as "?" so that an index cannot send escape sequences to
// the terminal. The cells are kept end to end in one buffer, so a table of
// 100,000 rows costs little more than its text.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header, std::vector<bool> rightAligned = {});
    // The columns whose cells are the locale's text (paths) rather than the cache's bytes.
    void SetLocaleColumns(std::vector<bool> localeText);
    void Add(std::initializer_list<std::string_view> row);
    void Print(std::ostream& out) const;

private:
    struct Cell {
        std::size_t offset;  // into text_
        std::size_t length;
        std::size_t width;   // in characters
    };
    void AddCell(std::size_t offset);

    std::string text_;                 // every cell as printed, header first
    std::vector<Cell> cells_;
    std::vector<std::size_t> rowStarts_;  // the first cell of each row
    std::size_t columns_;
    std::vector<bool> rightAligned_;
    std::vector<bool> localeText_;
};

}  // namespace restash::cli
