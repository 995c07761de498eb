#include "cli/text_output.h"

#include <algorithm>
#include <ostream>

namespace restash::cli {

namespace {

// Characters, not bytes, make a column's width.
std::size_t DisplayWidth(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string SafeText(std::string_view latin1) {
    std::string safe(latin1);
    for (char& c : safe) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127 || (u >= 128 && u < 160)) c = '?';
    }
    return Latin1ToUtf8(safe);
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string CsvField(std::string_view utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

TextTable::TextTable(std::vector<std::string> header, std::vector<bool> rightAligned)
    : rightAligned_(std::move(rightAligned)) {
    rightAligned_.resize(header.size(), false);
    rows_.push_back(std::move(header));
}

void TextTable::Add(std::vector<std::string> row) {
    for (auto& cell : row) cell = SafeText(cell);
    rows_.push_back(std::move(row));
}

void TextTable::Print(std::ostream& out) const {
    const std::size_t columns = rows_.front().size();
    std::vector<std::size_t> widths(columns, 0);
    for (const auto& row : rows_)
        for (std::size_t i = 0; i < columns && i < row.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    for (const auto& row : rows_) {
        std::string line;
        for (std::size_t i = 0; i < columns && i < row.size(); ++i) {
            const std::string padding(widths[i] - DisplayWidth(row[i]), ' ');
            const bool last = i + 1 == columns;
            if (rightAligned_[i]) line += padding;
            line += row[i];
            if (!rightAligned_[i] && !last) line += padding;
            if (!last) line += "  ";
        }
        out << line << '\n';
    }
}

}  // namespace restash::cli
