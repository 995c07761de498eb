#pragma once
// Turning the core's single-byte texts into output: UTF-8 from Latin-1,
// CSV fields, and aligned text columns for a terminal.
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

// A field of an RFC 4180 record: quoted (with doubled quotes) when it holds
// a comma, a quote, CR or LF.
std::string CsvField(std::string_view utf8);

// Rows of cells printed as aligned columns; the last column is not padded.
// Cells are Latin-1 bytes; control characters print as "?" so that an index
// cannot send escape sequences to the terminal.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header, std::vector<bool> rightAligned = {});
    void Add(std::vector<std::string> row);
    void Print(std::ostream& out) const;

private:
    std::vector<std::vector<std::string>> rows_;  // UTF-8, header first
    std::vector<bool> rightAligned_;
};

}  // namespace restash::cli
