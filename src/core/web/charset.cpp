#include "core/web/charset.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/platform/text.h"

namespace restash {
namespace {

constexpr std::size_t kMetaScanBytes = 8192;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from = 0) {
    for (std::size_t i = from; i + word.size() <= text.size(); ++i)
        if (EqualsNoCase(text.substr(i, word.size()), word)) return i;
    return std::string_view::npos;
}

// The attributes of a tag's text after its name: name=value pairs, values
// quoted or not, names lower-cased.
std::vector<std::pair<std::string, std::string>> Attributes(std::string_view tag) {
    std::vector<std::pair<std::string, std::string>> attributes;
    std::size_t i = 0;
    auto skipSpace = [&] {
        while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '/')) ++i;
    };
    while (true) {
        skipSpace();
        const std::size_t nameStart = i;
        while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '=' && tag[i] != '/') ++i;
        if (i == nameStart) break;
        std::string name = ToLowerAscii(tag.substr(nameStart, i - nameStart));
        while (i < tag.size() && IsSpace(tag[i])) ++i;
        std::string value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && IsSpace(tag[i])) ++i;
            const char quote = i < tag.size() && (tag[i] == '"' || tag[i] == '\'') ? tag[i++] : '\0';
            const std::size_t valueStart = i;
            while (i < tag.size() && (quote ? tag[i] != quote : !IsSpace(tag[i]))) ++i;
            value = std::string(tag.substr(valueStart, i - valueStart));
            if (quote && i < tag.size()) ++i;
        }
        attributes.emplace_back(std::move(name), std::move(value));
    }
    return attributes;
}

// The charset one <meta ...> tag declares (its text after "<meta"), or empty.
std::string CharsetOfMetaAttributes(std::string_view tag) {
    std::string equiv, content;
    for (const auto& [name, value] : Attributes(tag)) {
        if (name == "charset" && !value.empty()) return value;
        if (name == "http-equiv") equiv = value;
        if (name == "content") content = value;
    }
    return EqualsNoCase(equiv, "content-type") ? CharsetParameter(content) : std::string();
}

// The labels browsers read as windows-1252 (upper case).
bool IsWindows1252(std::string_view upper) {
    for (const std::string_view label : {"", "ISO-8859-1", "ISO8859-1", "ISO_8859-1", "LATIN1", "L1", "US-ASCII",
                                         "ASCII", "WINDOWS-1252", "CP1252", "X-CP1252"})
        if (upper == label) return true;
    return false;
}

// Some names Mozilla and old servers used that iconv knows under another.
std::string IconvName(std::string_view charset) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kAliases{{
        {"X-SJIS", "SHIFT_JIS"},
        {"X-EUC-JP", "EUC-JP"},
        {"X-MAC-ROMAN", "MACINTOSH"},
        {"X-USER-DEFINED", "ISO-8859-1"},
        {"X-X-BIG5", "BIG5"},
        {"UNICODE-1-1-UTF-8", "UTF-8"},
    }};
    const std::string upper = ToUpperAscii(charset);
    for (const auto& [alias, name] : kAliases)
        if (upper == alias) return std::string(name);
    return IsWindows1252(upper) ? "CP1252" : upper;
}

// What windows-1252 puts at 0x80 to 0x9F; the five bytes it leaves free
// stay the control characters they are in Latin-1.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) AppendUtf8(out, FromWindows1252(static_cast<unsigned char>(c)));
    return out;
}

// UTF-8 bytes without a sequence left unfinished at their end (a text cut short).
std::string_view WithoutUnfinishedEnd(std::string_view bytes) {
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return n > back ? bytes.substr(0, bytes.size() - back) : bytes;
    }
    return bytes;
}

// bytes of a charset iconv knows, skipping what is not of it; nothing when
// iconv does not know the charset.
std::optional<std::string> IconvToUtf8(std::string_view bytes, const std::string& charset) {
    const iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; the input is not changed
    std::size_t inLeft = bytes.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno != EILSEQ) break;  // EINVAL: unfinished at the end; E2BIG cannot happen at 4 bytes a byte
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::string CharsetParameter(std::string_view contentType) {
    std::size_t at = contentType.find(';');
    while (at != std::string_view::npos) {
        std::string_view param = contentType.substr(at + 1);
        const std::size_t next = param.find(';');
        param = Trim(param.substr(0, next));
        at = next == std::string_view::npos ? next : at + 1 + next;
        if (!StartsWithNoCase(param, "charset")) continue;
        param = Trim(param.substr(7));
        if (param.empty() || param[0] != '=') continue;
        param = Trim(param.substr(1));
        if (param.size() >= 2 && (param.front() == '"' || param.front() == '\'') &&
            param.back() == param.front())
            param = param.substr(1, param.size() - 2);
        return std::string(param);
    }
    return {};
}

std::string CharsetOfMetaTag(std::string_view tag) {
    if (!StartsWithNoCase(tag, "meta") || tag.size() < 5 || !(IsSpace(tag[4]) || tag[4] == '/')) return {};
    const std::size_t end = tag.find('>');
    return CharsetOfMetaAttributes(tag.substr(4, end == std::string_view::npos ? end : end - 4));
}

std::string CharsetFromMeta(std::string_view page) {
    page = page.substr(0, kMetaScanBytes);
    for (std::size_t at = FindNoCase(page, "<meta"); at != std::string_view::npos;
         at = FindNoCase(page, "<meta", at + 5)) {
        const std::size_t end = page.find('>', at);
        std::string charset =
            CharsetOfMetaAttributes(page.substr(at + 5, end == std::string_view::npos ? end : end - at - 5));
        if (!charset.empty()) return charset;
    }
    return {};
}

std::string PageCharset(std::string_view headCharset, std::string_view charsetElement,
                        std::string_view page) {
    if (!headCharset.empty()) return std::string(headCharset);
    if (!charsetElement.empty()) return std::string(charsetElement);
    std::string meta = CharsetFromMeta(page);
    return meta.empty() ? std::string(kDefaultCharset) : meta;
}

bool IsAsciiCompatibleCharset(std::string_view charset) {
    const std::string upper = ToUpperAscii(charset);
    for (const std::string_view prefix :
         {"UTF-16", "UTF16", "UTF-32", "UTF32", "UCS-2", "UCS-4", "UTF-7", "ISO-2022", "HZ"})
        if (upper.rfind(prefix, 0) == 0) return false;
    return upper != "UNICODE";
}

std::optional<std::string> ConvertFromUtf8(std::string_view text, std::string_view charset) {
    const iconv_t cd = iconv_open(IconvName(charset).c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());  // iconv's signature; the input is not changed
    std::size_t inLeft = text.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &to, &outLeft);
    const bool flushed = result != static_cast<std::size_t>(-1) &&
                         iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    // glibc counts characters it replaced; a word with one of those cannot be found as typed.
    if (!flushed || inLeft != 0 || result != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::string ToUtf8(std::string_view bytes, std::string_view charset) {
    const std::string name = IconvName(charset);
    if (name == "CP1252") return Windows1252ToUtf8(bytes);
    if (name == "UTF-8" || name == "UTF8") {
        // Bytes that are not UTF-8 after all are a page mislabelled by its
        // server; UTF-8 cut short (a title cut at its limit) loses only its
        // unfinished end. A lone high byte at the end of ASCII is no sign of
        // UTF-8: it is read as windows-1252.
        if (IsValidUtf8(bytes)) return std::string(bytes);
        const std::string_view whole = WithoutUnfinishedEnd(bytes);
        const bool anyHigh = std::any_of(whole.begin(), whole.end(), [](char c) { return (c & 0x80) != 0; });
        return anyHigh && IsValidUtf8(whole) ? std::string(whole) : Windows1252ToUtf8(bytes);
    }
    return IconvToUtf8(bytes, name).value_or(Windows1252ToUtf8(bytes));
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char32_t c : Utf8Characters(utf8)) {
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out += static_cast<char>(c);
            continue;
        }
        const auto* high = std::find(kWindows1252High.begin(), kWindows1252High.end(), c);
        if (high == kWindows1252High.end()) return std::nullopt;
        out += static_cast<char>(0x80 + (high - kWindows1252High.begin()));
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (n == 0 || lead > 0xF4 || i + n > bytes.size()) return false;
        std::uint32_t cp = n == 1 ? lead : lead & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

std::string Utf8OrLatin1(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes);
}

char32_t FromWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u32string Utf8Characters(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = std::min<std::size_t>(lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2,
                                                    utf8.size() - i);
        char32_t cp = n == 1 ? lead : lead & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += cp;
        i += n;
    }
    return out;
}

}  // namespace restash
