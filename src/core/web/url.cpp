#include "core/web/url.h"

#include "core/platform/text.h"

namespace restash {
namespace {

constexpr std::string_view kHttp = "http://";

// Where the part after a scheme's "://" begins, or npos when the URL has no
// scheme (a "/" before any "://" means the "://" belongs to the path).
std::size_t AfterScheme(std::string_view url) {
    const std::size_t mark = url.find("://");
    if (mark == std::string_view::npos) return std::string_view::npos;
    const std::size_t slash = url.find('/');
    if (slash < mark) return std::string_view::npos;
    return mark + 3;
}

// The characters an 8.3 base name may hold.
bool IsNameCharacter(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
        case '!': case '#': case '$': case '(': case ')': case '@':
        case '_': case '{': case '}': case '~':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string NormaliseURL(std::string_view url) {
    const bool http = StartsWithNoCase(url, kHttp);
    std::string rest(http ? url.substr(kHttp.size()) : url);

    // A port 80 that ends the host part goes; the "/" after it stays.
    const std::size_t port = rest.find(":80/");
    if (port != std::string::npos && rest.find('/') > port) rest.erase(port, 3);

    // A final ":80" goes too, but only when it is the first ":80" there is.
    const std::size_t tail = rest.find(":80");
    if (tail != std::string::npos && tail + 3 == rest.size()) rest.erase(tail);

    return http ? "HTTP://" + rest : rest;
}

std::string DomainOf(std::string_view url) {
    // Other schemes with a "://" (https, ftp) name their host the same way;
    // anything else ("about:blank") is taken from its start.
    const std::size_t start = AfterScheme(url);
    std::string_view rest = start == std::string_view::npos ? url : url.substr(start);
    rest = rest.substr(0, rest.find('/'));
    return NormaliseURL(rest);
}

MappedURL MapURL(std::string_view url, std::size_t maxLength) {
    // The base URL carries no scheme: it starts after "http://" (or another
    // scheme's "://"), and at the first character when there is no scheme.
    std::size_t from = AfterScheme(url);
    if (from == std::string_view::npos) from = 0;

    std::string_view segment;
    std::string_view base;
    if (!url.empty() && url.back() == '/') {
        const std::string_view head = url.substr(0, url.size() - 1);
        const std::size_t previous = head.rfind('/');
        segment = previous == std::string_view::npos ? head : head.substr(previous + 1);
        base = from < url.size() ? url.substr(from) : std::string_view{};
    } else {
        const std::size_t last = url.rfind('/');
        // A URL without any "/" is all name and has no directory.
        segment = last == std::string_view::npos ? url : url.substr(last + 1);
        const std::size_t dot = segment.rfind('.');
        if (dot != std::string_view::npos) segment = segment.substr(0, dot);
        if (last != std::string_view::npos && last >= from) base = url.substr(from, last + 1 - from);
    }

    MappedURL mapped;
    mapped.baseURL = Cut(NormaliseURL(base), maxLength);
    for (const char c : segment) {
        if (mapped.baseName.size() == 8) break;
        if (IsNameCharacter(c)) mapped.baseName += UpperAscii(c);
    }
    if (mapped.baseName.empty()) mapped.baseName = "RESTASHD";
    return mapped;
}

std::string NumberedName(std::string_view baseName, unsigned number) {
    const std::string digits = std::to_string(number);
    const std::size_t room = digits.size() >= 8 ? 0 : 8 - digits.size();
    return std::string(baseName.substr(0, room)) + digits;
}

std::string EntryDomain(std::string_view url) { return Cut(DomainOf(url), kDomainCapacity); }

std::string CleanURL(std::string url) {
    while (url.size() >= 3 && url.compare(url.size() - 3, 3, "/./") == 0) url.erase(url.size() - 2);
    return url;
}

}  // namespace restash
