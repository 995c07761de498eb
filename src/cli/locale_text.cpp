#include "cli/locale_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <optional>

#include "cli/command.h"

namespace restash::cli {
namespace {

std::string& Charset() {
    static std::string charset = "UTF-8";
    return charset;
}

bool IsUtf8() { return Charset() == "UTF-8"; }

// text converted by iconv from one charset to another; unconvertible input
// stops the conversion unless replacement is given, which then stands for
// each byte that could not be converted. Nothing when from/to are unknown or
// the input is invalid and no replacement is given.
std::optional<std::string> Iconv(std::string_view text, const std::string& to, const std::string& from,
                                 const char* replacement = nullptr) {
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(text.data());  // iconv's signature; the input is not changed
    std::size_t inLeft = text.size();
    bool ok = true;
    for (bool flushed = false; ok && !flushed;) {
        char* next = buffer;
        std::size_t outLeft = sizeof buffer;
        // Once the input is used up, one more call ends a shift state.
        flushed = inLeft == 0;
        const std::size_t r = flushed ? iconv(cd, nullptr, nullptr, &next, &outLeft)
                                      : iconv(cd, &in, &inLeft, &next, &outLeft);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        if (r != static_cast<std::size_t>(-1)) continue;
        flushed = false;
        if (errno == E2BIG) continue;
        if (!replacement || inLeft == 0) {
            ok = false;
        } else {
            out += replacement;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

// The next code point of valid UTF-8 at text[at], advancing at; nothing
// for a byte sequence that is not UTF-8.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) return std::nullopt;
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    at += static_cast<std::size_t>(length);
    return cp;
}

std::string CodePointName(char32_t cp) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

void AppendLatin1AsUtf8(std::string& out, unsigned char u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

bool IsControl(unsigned char u) { return u < 32 || u == 127 || (u >= 128 && u < 160); }

}  // namespace

void UseUserLocale() {
    std::setlocale(LC_CTYPE, "");
    const std::string codeset = nl_langinfo(CODESET);
    // ASCII is the C locale's; UTF-8 holds it and is what terminals speak.
    Charset() = (codeset == "ANSI_X3.4-1968" || codeset == "ASCII" || codeset.empty()) ? "UTF-8" : codeset;
    std::setlocale(LC_CTYPE, "C");  // the core's byte handling stays the C library's plain one
}

const std::string& TerminalCharset() { return Charset(); }

std::string ToCacheText(std::string_view arg, const std::string& what) {
    std::string utf8(arg);
    if (!IsUtf8()) {
        auto converted = Iconv(arg, "UTF-8", Charset());
        if (!converted) throw UsageError(what + " is not valid " + Charset() + " text");
        utf8 = std::move(*converted);
    }
    std::string bytes;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> cp = NextCodePoint(utf8, at);
        if (!cp) throw UsageError(what + " is not valid " + Charset() + " text");
        if (*cp > 0xFF) {
            std::string shown;
            std::size_t from = 0;
            for (std::size_t i = 0; i < utf8.size(); from = i) {
                if (NextCodePoint(utf8, i) == cp) {
                    shown = utf8.substr(from, i - from);
                    break;
                }
            }
            throw UsageError(what + " holds '" + (IsUtf8() ? shown : CodePointName(*cp)) + "' (" +
                             CodePointName(*cp) + "), which the cache's single-byte text (Latin-1) cannot hold");
        }
        bytes += static_cast<char>(*cp);
    }
    return bytes;
}

std::string ToUtf8Text(std::string_view arg, const std::string& what) {
    std::optional<std::string> utf8 = IsUtf8() ? std::optional<std::string>(arg) : Iconv(arg, "UTF-8", Charset());
    bool valid = utf8.has_value();
    for (std::size_t at = 0; valid && at < utf8->size();) valid = NextCodePoint(*utf8, at).has_value();
    if (!valid) throw UsageError(what + " is not valid " + Charset() + " text");
    return *utf8;
}

std::string Utf8ToTerminal(std::string_view utf8) {
    std::string safe;
    safe.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t from = at;
        const std::optional<char32_t> cp = NextCodePoint(utf8, at);
        if (!cp) return ToTerminal(utf8);  // not UTF-8 after all: the cache's bytes
        if (*cp < 0x100 && IsControl(static_cast<unsigned char>(*cp)))
            safe += '?';
        else
            safe.append(utf8.substr(from, at - from));
    }
    if (IsUtf8()) return safe;
    return Iconv(safe, Charset() + "//TRANSLIT", "UTF-8", "?").value_or(safe);
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char c : latin1) AppendLatin1AsUtf8(out, static_cast<unsigned char>(c));
    return out;
}

void AppendToTerminal(std::string& out, std::string_view latin1) {
    if (!IsUtf8()) {
        out += ToTerminal(latin1);
        return;
    }
    for (char c : latin1) {
        const auto u = static_cast<unsigned char>(c);
        if (IsControl(u))
            out += '?';
        else
            AppendLatin1AsUtf8(out, u);
    }
}

std::string ToTerminal(std::string_view latin1) {
    std::string safe;
    safe.reserve(latin1.size());
    if (IsUtf8()) {
        AppendToTerminal(safe, latin1);
        return safe;
    }
    for (char c : latin1) safe += IsControl(static_cast<unsigned char>(c)) ? '?' : c;
    return Iconv(safe, Charset() + "//TRANSLIT", "ISO-8859-1", "?").value_or(safe);
}

std::string LocaleLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) c = '?';
    }
    return line;
}

std::string MixedToTerminal(std::string_view text) {
    if (!IsUtf8()) return std::string(text);
    for (std::size_t at = 0; at < text.size();)
        if (!NextCodePoint(text, at)) return ToTerminal(text);
    return std::string(text);
}

std::string MixedToUtf8(std::string_view text) {
    if (IsUtf8()) {
        for (std::size_t at = 0; at < text.size();)
            if (!NextCodePoint(text, at)) return Latin1ToUtf8(text);
        return std::string(text);
    }
    return LocaleToUtf8(text);
}

std::string LocaleToUtf8(std::string_view text) {
    if (!IsUtf8()) return Iconv(text, "UTF-8", Charset(), "\xEF\xBF\xBD").value_or(std::string(text));
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t from = at;
        if (NextCodePoint(text, at)) {
            out.append(text.substr(from, at - from));
        } else {
            out += "\xEF\xBF\xBD";
            at = from + 1;
        }
    }
    return out;
}

std::size_t TerminalWidth(std::string_view text) {
    if (!IsUtf8()) return text.size();
    std::size_t width = 0;
    for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

}  // namespace restash::cli
