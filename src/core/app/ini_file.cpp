#include "core/app/ini_file.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace restash {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// One line of the file: [begin, textEnd) is its text without the line
// break, [textEnd, end) the break itself ("\n", "\r\n" or nothing at the end).
struct Line {
    std::size_t begin;
    std::size_t textEnd;
    std::size_t end;
};

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? content.size() : nl + 1;
        std::size_t textEnd = nl == std::string_view::npos ? content.size() : nl;
        if (textEnd > pos && content[textEnd - 1] == '\r') --textEnd;
        lines.push_back({pos, textEnd, end});
        pos = end;
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '[') return std::nullopt;
    text.remove_prefix(1);
    return Trim(text.substr(0, text.find(']')));
}

// Where the "=" of a key line is; npos for a line that holds no key.
std::size_t EqualsSign(std::string_view text) {
    if (SectionName(text)) return std::string_view::npos;
    return text.find('=');
}

// The lines of the first section named section: the header's index and one
// past the section's last line. Lines before any header belong to no section.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> FindSection(std::string_view content, const std::vector<Line>& lines,
                                       std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin));
        if (!name || !EqualsNoCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() &&
               !SectionName(content.substr(lines[end].begin, lines[end].textEnd - lines[end].begin)))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

// The index of the first line of span that sets key.
std::optional<std::size_t> FindKey(std::string_view content, const std::vector<Line>& lines, SectionSpan span,
                                   std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        std::string_view text = content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin);
        std::size_t eq = EqualsSign(text);
        if (eq != std::string_view::npos && EqualsNoCase(Trim(text.substr(0, eq)), key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> ReadFile(const std::string& path) {
    // A folder or a damaged file in the settings file's place reads as no
    // file (the defaults); the stream library reports some of those by throwing.
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return content;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The line break new lines get: the file's own, "\n" for a file that has none.
std::string_view LineBreakOf(std::string_view content) {
    std::size_t nl = content.find('\n');
    if (nl != std::string_view::npos && nl > 0 && content[nl - 1] == '\r') return "\r\n";
    return "\n";
}

// Gives the file's last line a break before a line is added after it. A
// last line ending in a lone CR reads as ending there: an LF completes that
// break, so the line keeps the value it read as.
void EndLastLine(std::string& out, std::string_view lineBreak) {
    if (out.ends_with('\n')) return;
    if (out.ends_with('\r'))
        out += '\n';
    else
        out += lineBreak;
}

}  // namespace

bool ParseIniInteger(std::string_view text, std::int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::string_view digits = text.substr(2);
        std::uint32_t hex = 0;
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), hex, 16);
        if (ec != std::errc() || ptr != digits.data() + digits.size()) return false;
        value = static_cast<std::int32_t>(hex);  // eight digits cover the whole 32 bits, as a signed number
        return true;
    }
    return ParseDecimalInteger(text, value);
}

bool ParseDecimalInteger(std::string_view text, std::int32_t& value) {
    // from_chars takes a "-" but no "+".
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return false;
    }
    std::int32_t parsed = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, 10);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return false;
    value = parsed;
    return true;
}

std::string WithIniValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::vector<Line> lines = SplitLines(content);
    const std::string_view lineBreak = LineBreakOf(content);
    std::string out;
    const auto span = FindSection(content, lines, section);
    if (!span) {
        out.assign(content);
        if (!out.empty()) {
            EndLastLine(out, lineBreak);
            // A blank line before the new section, unless there is one already.
            const Line& last = lines.back();
            if (last.textEnd > last.begin) out += lineBreak;
        }
        out.append("[").append(section).append("]").append(lineBreak);
        out.append(key).append("=").append(value).append(lineBreak);
        return out;
    }
    if (auto keyLine = FindKey(content, lines, *span, key)) {
        const Line& line = lines[*keyLine];
        const std::size_t eq = line.begin + EqualsSign(content.substr(line.begin, line.textEnd - line.begin));
        out.append(content.substr(0, eq + 1));
        out.append(value);
        out.append(content.substr(line.textEnd));
        return out;
    }
    // A new key goes after the section's last line that is not blank.
    std::size_t after = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (!Trim(content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin)).empty()) after = i;
    const Line& anchor = lines[after];
    out.append(content.substr(0, anchor.end));
    if (anchor.end == content.size()) EndLastLine(out, lineBreak);
    out.append(key).append("=").append(value).append(lineBreak);
    out.append(content.substr(anchor.end));
    return out;
}

IniFile::IniFile(std::string path, FileSystem& fs) : path_(std::move(path)), fs_(&fs) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const auto content = ReadFile(path_);
    if (!content) return std::string(defaultValue);
    const std::vector<Line> lines = SplitLines(*content);
    const auto span = FindSection(*content, lines, section);
    if (!span) return std::string(defaultValue);
    const auto keyLine = FindKey(*content, lines, *span, key);
    if (!keyLine) return std::string(defaultValue);
    const Line& line = lines[*keyLine];
    std::string_view text = std::string_view(*content).substr(line.begin, line.textEnd - line.begin);
    return Cut(Trim(text.substr(EqualsSign(text) + 1)), kMaxValueLength);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    std::int32_t value = defaultValue;
    if (!ParseIniInteger(ReadString(section, key, ""), value)) return defaultValue;
    return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string failure = "Unable to write to " + path_;
    // A line break inside the value would put text of its own making into the
    // file as further lines.
    if (value.find_first_of("\r\n") != std::string_view::npos) throw Error(failure);
    try {
        // A file that exists but cannot be read must not be replaced by one
        // that holds only the new key.
        std::error_code ec;
        const bool exists = std::filesystem::exists(path_, ec);
        if (ec) throw Error(failure);
        std::string content;
        if (exists) {
            auto existing = ReadFile(path_);
            if (!existing) throw Error(failure);
            content = std::move(*existing);
        }
        const std::string updated = WithIniValue(content, section, key, value);
        // A settings file that is a link to another place is updated there.
        std::string target = path_;
        if (std::filesystem::symlink_status(path_, ec).type() == std::filesystem::file_type::symlink) {
            target = std::filesystem::weakly_canonical(path_, ec).string();
            if (ec) throw Error(failure);
        }
        const std::string folder = DirPart(target);
        if (!folder.empty()) fs_->CreateDirectories(folder);
        ReplaceFile(*fs_, target, [&](OutputFile& out) { out.Write(updated); });
    } catch (const Error&) {
        throw Error(failure);
    }
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace restash
