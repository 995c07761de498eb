#pragma once
// Small pieces shared by both index forms: lines ended by CR LF and the
// shortened texts the pages show.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/platform/file_system.h"

namespace restash {

inline void Line(OutputFile& out, std::string_view text) {
    out.Write(text);
    out.Write("\r\n");
}

// An address of more than 30 characters is shown as "..." and its last 28.
inline std::string ShownAddress(std::string_view url) {
    if (url.size() <= 30) return std::string(url);
    return "..." + std::string(url.substr(url.size() - 28));
}

// text for the body of a page: "&", "<", ">" and '"' as character
// references, so that what the user typed is shown rather than read as markup.
inline std::string HtmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// The domain numbers the arrows of domain page n lead to, wrapping around.
inline std::size_t PreviousDomain(std::size_t n, std::size_t count) { return n == 0 ? count - 1 : n - 1; }
inline std::size_t NextDomain(std::size_t n, std::size_t count) { return n + 1 == count ? 0 : n + 1; }

}  // namespace restash
