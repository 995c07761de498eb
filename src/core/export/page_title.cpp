#include "core/export/page_title.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "core/export/json_text.h"
#include "core/platform/text.h"

namespace restash {
namespace {

// Longer texts are not titles anyone reads; the page list keeps this much.
constexpr std::size_t kRawTitleCapacity = 1024;

// The named references of the Latin-1 letters and signs, U+00A0 onwards:
// the ones pages of the time used, which browsers decode even without ";".
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

std::optional<char32_t> NamedCharacter(std::u32string_view name) {
    const std::u32string_view basic[] = {U"amp", U"lt", U"gt", U"quot", U"apos"};
    const char32_t basicValue[] = {'&', '<', '>', '"', '\''};
    for (std::size_t i = 0; i < std::size(basic); ++i)
        if (name == basic[i]) return basicValue[i];
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i)
        if (std::equal(name.begin(), name.end(), kLatin1Names[i].begin(), kLatin1Names[i].end()))
            return static_cast<char32_t>(0xA0 + i);
    return std::nullopt;
}

bool IsAsciiAlnum(char32_t c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

// "&#233;", "&#xE9;", "&eacute;" (";" optional) at text[at] == '&'. Returns
// the character and how many characters the reference takes; none when it is
// not one.
std::optional<std::pair<char32_t, std::size_t>> Reference(std::u32string_view text, std::size_t at) {
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '#') {
        const bool hex = ++i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex) ++i;
        const std::size_t digitsStart = i;
        std::uint32_t value = 0;
        for (; i < text.size() && (hex ? IsAsciiAlnum(text[i]) : text[i] >= '0' && text[i] <= '9'); ++i) {
            const char32_t c = text[i] | 0x20;
            const std::uint32_t digit = c <= '9' ? c - '0' : c - 'a' + 10;
            if (hex && digit > 15) break;
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
        }
        if (i == digitsStart) return std::nullopt;
        if (i < text.size() && text[i] == ';') ++i;
        char32_t c = value;
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) c = 0xFFFD;
        if (value >= 0x80 && value < 0xA0) c = FromWindows1252(static_cast<unsigned char>(value));
        return std::pair{c, i - at};
    }
    std::size_t end = i;
    while (end < text.size() && end - i < 8 && IsAsciiAlnum(text[end])) ++end;
    // The longest name the run begins with, as browsers match them.
    for (; end > i + 1; --end) {
        if (const std::optional<char32_t> c = NamedCharacter(text.substr(i, end - i))) {
            const std::size_t after = end < text.size() && text[end] == ';' ? end + 1 : end;
            return std::pair{*c, after - at};
        }
    }
    return std::nullopt;
}

bool IsAsciiSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

}  // namespace

void TitleFinder::Feed(std::string_view piece) {
    for (const char c : piece) {
        switch (state_) {
            case State::Text:
                if (c == '<') {
                    state_ = State::Tag;
                    tag_.clear();
                }
                break;
            case State::Tag:
                if (tag_.size() < 8) tag_ += c;
                if (tag_ == "!--") {
                    state_ = State::Comment;
                    std::copy_n("<!--", 4, last_);
                } else if (c == '>') {
                    state_ = StartsWithNoCase(tag_, "TITLE") ? State::Title : State::Text;
                }
                break;
            case State::Comment:
                std::copy(last_ + 1, last_ + 4, last_);
                last_[3] = c;
                if (std::string_view(last_ + 1, 3) == "-->" || std::string_view(last_, 4) == "-- >")
                    state_ = State::Text;
                break;
            case State::Title:
                if (c == '<')
                    state_ = State::Done;
                else if (title_.size() < kRawTitleCapacity)
                    title_ += c;
                break;
            case State::Done:
                return;
        }
    }
}

std::string TitleText(std::string_view raw, std::string_view charset) {
    const std::u32string text = Utf8Characters(ToUtf8(raw, charset));

    std::string out;
    bool space = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == '&') {
            if (const auto reference = Reference(text, i)) {
                c = reference->first;
                i += reference->second - 1;
            }
        }
        if (IsAsciiSpace(c)) {
            space = !out.empty();
        } else if (c >= 0x20 && (c < 0x7F || c >= 0xA0)) {
            if (space) out += ' ';
            space = false;
            AppendUtf8(out, c);
        }
    }
    return out;
}

}  // namespace restash
