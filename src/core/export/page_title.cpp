#include "core/export/page_title.h"

#include "core/web/latin1_entity_names.h"

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


std::optional<char32_t> NamedCharacter(std::u32string_view name) {
    const std::u32string_view basic[] = {U"amp", U"lt", U"gt", U"quot", U"apos"};
    const char32_t basicValue[] = {'&', '<', '>', '"', '\''};
    for (std::size_t i = 0; i < std::size(basic); ++i)
        if (name == basic[i]) return basicValue[i];
    for (std::size_t i = 0; i < kLatin1EntityNames.size(); ++i)
        if (std::equal(name.begin(), name.end(), kLatin1EntityNames[i].begin(), kLatin1EntityNames[i].end()))
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
