#include "cli/text_output.h"

#include <algorithm>
#include <ostream>

#include "cli/locale_text.h"

namespace restash::cli {

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
    : columns_(header.size()), rightAligned_(std::move(rightAligned)) {
    rightAligned_.resize(columns_, false);
    localeText_.resize(columns_, false);
    rowStarts_.push_back(0);
    for (const std::string& cell : header) {
        const std::size_t offset = text_.size();
        text_ += cell;
        AddCell(offset);
    }
}

void TextTable::SetLocaleColumns(std::vector<bool> localeText) {
    localeText_ = std::move(localeText);
    localeText_.resize(columns_, false);
}

void TextTable::AddCell(std::size_t offset) {
    const std::string_view cell = std::string_view(text_).substr(offset);
    cells_.push_back({offset, cell.size(), TerminalWidth(cell)});
}

void TextTable::Add(std::initializer_list<std::string_view> row) {
    rowStarts_.push_back(cells_.size());
    std::size_t column = 0;
    for (std::string_view cell : row) {
        const std::size_t offset = text_.size();
        if (column < localeText_.size() && localeText_[column])
            text_ += LocaleLine(cell);
        else
            AppendToTerminal(text_, cell);
        AddCell(offset);
        ++column;
    }
}

void TextTable::Print(std::ostream& out) const {
    std::vector<std::size_t> widths(columns_, 0);
    auto rowEnd = [&](std::size_t row) { return row + 1 < rowStarts_.size() ? rowStarts_[row + 1] : cells_.size(); };
    for (std::size_t row = 0; row < rowStarts_.size(); ++row)
        for (std::size_t c = rowStarts_[row], i = 0; c < rowEnd(row) && i < columns_; ++c, ++i)
            widths[i] = std::max(widths[i], cells_[c].width);

    // Lines are written in blocks rather than one call each.
    constexpr std::size_t kBlock = 64 * 1024;
    std::string block;
    block.reserve(kBlock + 1024);
    for (std::size_t row = 0; row < rowStarts_.size(); ++row) {
        for (std::size_t c = rowStarts_[row], i = 0; c < rowEnd(row) && i < columns_; ++c, ++i) {
            const Cell& cell = cells_[c];
            const std::size_t padding = widths[i] - cell.width;
            const bool last = i + 1 == columns_;
            if (rightAligned_[i]) block.append(padding, ' ');
            block.append(text_, cell.offset, cell.length);
            if (!rightAligned_[i] && !last) block.append(padding, ' ');
            if (!last) block += "  ";
        }
        block += '\n';
        if (block.size() >= kBlock) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

}  // namespace restash::cli
