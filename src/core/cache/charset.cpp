#include "core/cache/charset.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <utility>
#include <vector>

#include "core/cache/http_head.h"
#include "core/platform/text.h"

namespace restash {
namespace {

constexpr std::size_t kMetaScanBytes = 8192;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

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
std::string CharsetOfMetaTag(std::string_view tag) {
    std::string equiv, content;
    for (const auto& [name, value] : Attributes(tag)) {
        if (name == "charset" && !value.empty()) return value;
        if (name == "http-equiv") equiv = value;
        if (name == "content") content = value;
    }
    return EqualsNoCase(equiv, "content-type") ? CharsetParameter(content) : std::string();
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
    return upper;
}

}  // namespace

std::string CharsetFromMeta(std::string_view page) {
    page = page.substr(0, kMetaScanBytes);
    for (std::size_t at = FindNoCase(page, "<meta"); at != std::string_view::npos;
         at = FindNoCase(page, "<meta", at + 5)) {
        const std::size_t end = page.find('>', at);
        std::string charset =
            CharsetOfMetaTag(page.substr(at + 5, end == std::string_view::npos ? end : end - at - 5));
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

}  // namespace restash
