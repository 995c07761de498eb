#include "core/export/archive_uri.h"

#include <algorithm>
#include <vector>

#include "core/platform/text.h"

namespace restash {
namespace {

bool NeedsEscape(unsigned char c) { return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>'; }

bool IsDefaultPort(std::string_view scheme, std::string_view port) {
    return (scheme == "http" && port == "80") || (scheme == "https" && port == "443") ||
           (scheme == "ftp" && port == "21");
}

// "www.", "www2.", "www13." at the start of a host.
std::string_view WithoutWww(std::string_view host) {
    if (host.substr(0, 3) != "www") return host;
    std::size_t i = 3;
    while (i < host.size() && host[i] >= '0' && host[i] <= '9') ++i;
    if (i < host.size() && host[i] == '.' && i + 1 < host.size()) return host.substr(i + 1);
    return host;
}

std::string ReversedLabels(std::string_view host) {
    std::vector<std::string_view> labels;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = host.find('.', start);
        labels.push_back(host.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    std::string out;
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        if (!out.empty()) out += ',';
        out += *it;
    }
    return out;
}

std::string SortedQuery(std::string_view query) {
    std::vector<std::string_view> args;
    std::size_t start = 0;
    while (true) {
        const std::size_t amp = query.find('&', start);
        args.push_back(query.substr(start, amp == std::string_view::npos ? std::string_view::npos : amp - start));
        if (amp == std::string_view::npos) break;
        start = amp + 1;
    }
    std::sort(args.begin(), args.end());
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) out += '&';
        out += args[i];
    }
    return out;
}

}  // namespace

std::string ArchiveUri(std::string_view url) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c)) {
            out += '%';
            out += kDigits[c >> 4];
            out += kDigits[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string SurtKey(std::string_view uri) {
    const std::string lower = ToLowerAscii(uri.substr(0, uri.find('#')));
    const std::string_view u = lower;
    const std::size_t slashes = u.find("://");
    if (slashes == std::string_view::npos) return lower;
    const std::string_view scheme = u.substr(0, slashes);
    std::string_view rest = u.substr(slashes + 3);

    const std::size_t authorityEnd = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, authorityEnd);
    rest = authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority = authority.substr(at + 1);

    std::string_view host = authority;
    std::string_view port;
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    std::string key = ReversedLabels(WithoutWww(host));
    if (!port.empty() && !IsDefaultPort(scheme, port)) {
        key += ':';
        key += port;
    }
    key += ')';

    const std::size_t question = rest.find('?');
    std::string_view path = rest.substr(0, question);
    if (path.empty()) path = "/";
    if (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    key += path;
    if (question != std::string_view::npos && question + 1 < rest.size()) {
        key += '?';
        key += SortedQuery(rest.substr(question + 1));
    }
    return key;
}

}  // namespace restash
