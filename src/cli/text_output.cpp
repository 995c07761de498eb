#include "cli/text_output.h"

#include <algorithm>
#include <ostream>

#include "core/web/charset.h"

namespace restash::cli {

namespace {

// Characters, not bytes, make a column's width.
std::size_t DisplayWidth(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Appends text as UTF-8, each byte read as Latin-1; with safe, control
// characters become "?".
void AppendUtf8(std::string& out, std::string_view text, bool safe) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (safe && (u < 32 || u == 127 || (u >= 128 && u < 160))) {
            out += '?';
        } else if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
}

}  // namespace

std::string SafeText(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    AppendUtf8(out, latin1, true);
    return out;
}

std::string SafeUtf8Text(std::string_view utf8) {
    std::string out;
    for (const char32_t c : Utf8Characters(utf8)) {
        if (c < 32 || c == 127 || (c >= 128 && c < 160)) out += '?';
        else restash::AppendUtf8(out, c);
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8(out, text, false);
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
    : columns_(header.size()), rightAligned_(std::move(rightAligned)) {
    rightAligned_.resize(columns_, false);
    rowStarts_.push_back(0);
    for (const std::string& cell : header) {
        const std::size_t offset = text_.size();
        text_ += cell;
        AddCell(offset);
    }
}

void TextTable::AddCell(std::size_t offset) {
    const std::string_view cell = std::string_view(text_).substr(offset);
    cells_.push_back({offset, cell.size(), DisplayWidth(cell)});
}

void TextTable::Add(std::initializer_list<std::string_view> row) {
    rowStarts_.push_back(cells_.size());
    for (std::string_view cell : row) {
        const std::size_t offset = text_.size();
        AppendUtf8(text_, cell, true);
        AddCell(offset);
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
