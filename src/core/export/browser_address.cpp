#include "core/export/browser_address.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/export/archive_uri.h"
#include "core/platform/text.h"

namespace restash {
namespace {

// The standard's percent-encode sets, each a superset of the one before.
enum class EncodeSet { Controls, Query, SpecialQuery, Path, Userinfo };

bool InSet(unsigned char c, EncodeSet set) {
    if (c < 0x20 || c > 0x7E) return true;
    const std::string_view query = " \"#<>";
    switch (set) {
        case EncodeSet::Controls:
            return false;
        case EncodeSet::Query:
            return query.find(static_cast<char>(c)) != std::string_view::npos;
        case EncodeSet::SpecialQuery:
            return c == '\'' || InSet(c, EncodeSet::Query);
        case EncodeSet::Path:
            return std::string_view("?`{}").find(static_cast<char>(c)) != std::string_view::npos ||
                   InSet(c, EncodeSet::Query);
        case EncodeSet::Userinfo:
            return std::string_view("/:;=@[\\]^|").find(static_cast<char>(c)) != std::string_view::npos ||
                   InSet(c, EncodeSet::Path);
    }
    return true;
}

void AppendPercent(std::string& out, unsigned char c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += '%';
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
}

// A byte above 127 is a Latin-1 letter, written as the two bytes of its UTF-8.
std::string Encoded(std::string_view text, EncodeSet set) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80) {
            AppendPercent(out, static_cast<unsigned char>(0xC0 | (c >> 6)));
            AppendPercent(out, static_cast<unsigned char>(0x80 | (c & 0x3F)));
        } else if (InSet(c, set)) {
            AppendPercent(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = LowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// One part of an IPv4 address: decimal, octal after a leading "0" or
// hexadecimal after "0x". Values too large for any part come back as 2^32.
std::optional<std::uint64_t> Ipv4Number(std::string_view part) {
    if (part.empty()) return std::nullopt;
    int radix = 10;
    if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
        part.remove_prefix(2);
        radix = 16;
    } else if (part.size() >= 2 && part[0] == '0') {
        part.remove_prefix(1);
        radix = 8;
    }
    std::uint64_t value = 0;
    for (const char c : part) {
        const int digit = HexValue(c);
        if (digit < 0 || digit >= radix) return std::nullopt;
        value = std::min<std::uint64_t>(value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit),
                                        1ull << 32);
    }
    return value;
}

std::vector<std::string_view> Ipv4Parts(std::string_view host) {
    std::vector<std::string_view> parts = Split(host, '.');
    if (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    return parts;
}

// A host whose last label is a number is an IPv4 address, or invalid.
bool EndsInNumber(std::string_view host) {
    const std::string_view last = Ipv4Parts(host).back();
    if (last.empty()) return false;
    return last.find_first_not_of("0123456789") == std::string_view::npos || Ipv4Number(last).has_value();
}

std::optional<std::string> Ipv4Address(std::string_view host) {
    const std::vector<std::string_view> parts = Ipv4Parts(host);
    if (parts.size() > 4) return std::nullopt;
    std::uint64_t address = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<std::uint64_t> n = Ipv4Number(parts[i]);
        const bool last = i + 1 == parts.size();
        if (!n || (!last && *n > 255) || (last && *n >= (1ull << (8 * (5 - parts.size())))))
            return std::nullopt;
        address += last ? *n : *n << (8 * (3 - i));
    }
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
           std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255);
}

// The host of a web address: decoded, lower-cased, checked, IPv4 made dotted.
std::optional<std::string> WebHost(std::string_view raw) {
    if (raw.starts_with('[')) {
        if (!raw.ends_with(']') || raw.find_first_not_of("0123456789abcdefABCDEF:.", 1) != raw.size() - 1)
            return std::nullopt;
        return ToLowerAscii(raw);
    }
    const std::string host = ToLowerAscii(PercentDecoded(raw));
    if (host.empty()) return std::nullopt;
    for (const char ch : host) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || std::string_view("#%/:<>?@[\\]^|").find(ch) != std::string_view::npos)
            return std::nullopt;
    }
    if (EndsInNumber(host)) return Ipv4Address(host);
    return host;
}

bool IsSingleDot(std::string_view s) { return s == "." || EqualsNoCase(s, "%2e"); }

bool IsDoubleDot(std::string_view s) {
    return s == ".." || EqualsNoCase(s, ".%2e") || EqualsNoCase(s, "%2e.") || EqualsNoCase(s, "%2e%2e");
}

// A hierarchical path: segments encoded, "." dropped, ".." taking the one
// before it away; a dot segment at the end leaves the path ending in "/".
std::string HierarchicalPath(std::string path, bool web) {
    if (web)
        for (char& c : path)
            if (c == '\\') c = '/';
    std::string_view rest = path;
    if (rest.starts_with('/')) rest.remove_prefix(1);
    std::vector<std::string> segments;
    const std::vector<std::string_view> parts = Split(rest, '/');
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        if (IsDoubleDot(parts[i])) {
            if (!segments.empty()) segments.pop_back();
            if (last) segments.emplace_back();
        } else if (IsSingleDot(parts[i])) {
            if (last) segments.emplace_back();
        } else {
            segments.push_back(Encoded(parts[i], EncodeSet::Path));
        }
    }
    std::string out;
    for (const std::string& segment : segments) out += "/" + segment;
    return out;
}

struct Address {
    std::string scheme;
    std::optional<std::string> host;  // with user name, password and port as written back
    std::string path;
    std::optional<std::string> query;
};

std::optional<std::string> DefaultPort(std::string_view scheme) {
    if (scheme == "http" || scheme == "ws") return "80";
    if (scheme == "https" || scheme == "wss") return "443";
    if (scheme == "ftp") return "21";
    return std::nullopt;
}

// The port as a number, empty when none or the scheme's default; none when
// it is not a number up to 65535.
std::optional<std::string> PortOf(std::string_view digits, std::string_view scheme) {
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
    if (digits.empty()) return "";
    if (digits.size() > 5 || std::stoul(std::string(digits)) > 65535) return std::nullopt;
    return DefaultPort(scheme) == digits ? "" : std::string(digits);
}

// "user:password@host:port" of a web address, written back.
std::optional<std::string> WebAuthority(std::string_view authority, std::string_view scheme) {
    std::string userinfo;
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view credentials = authority.substr(0, at);
        const std::size_t colon = credentials.find(':');
        const std::string user = Encoded(credentials.substr(0, colon), EncodeSet::Userinfo);
        const std::string password = colon == std::string_view::npos
                                         ? ""
                                         : Encoded(credentials.substr(colon + 1), EncodeSet::Userinfo);
        if (!user.empty() || !password.empty())
            userinfo = user + (password.empty() ? "" : ":" + password) + "@";
        authority.remove_prefix(at + 1);
    }
    const std::size_t close = authority.starts_with('[') ? authority.find(']') : 0;
    if (close == std::string_view::npos) return std::nullopt;
    const std::size_t colon = authority.find(':', close);
    const std::optional<std::string> host = WebHost(authority.substr(0, colon));
    if (!host) return std::nullopt;
    const std::optional<std::string> port =
        PortOf(colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1), scheme);
    if (!port) return std::nullopt;
    return userinfo + *host + (port->empty() ? "" : ":" + *port);
}

std::optional<Address> ParseWeb(std::string scheme, std::string_view rest) {
    Address a{std::move(scheme), std::nullopt, "", std::nullopt};
    if (a.scheme == "file") {
        a.host = "";
        if (rest.size() >= 2 && (rest[0] == '/' || rest[0] == '\\') && (rest[1] == '/' || rest[1] == '\\')) {
            rest.remove_prefix(2);
            const std::size_t end = std::min(rest.find_first_of("/\\"), rest.size());
            if (end > 0) {
                a.host = WebHost(rest.substr(0, end));
                if (!a.host) return std::nullopt;
                if (*a.host == "localhost") a.host = "";
            }
            rest.remove_prefix(end);
        }
    } else {
        const std::size_t start = std::min(rest.find_first_not_of("/\\"), rest.size());
        const std::size_t end = std::min(rest.find_first_of("/\\", start), rest.size());
        a.host = WebAuthority(rest.substr(start, end - start), a.scheme);
        if (!a.host) return std::nullopt;
        rest.remove_prefix(end);
    }
    a.path = HierarchicalPath(std::string(rest), true);
    return a;
}

std::optional<Address> ParseOther(std::string scheme, std::string_view rest) {
    Address a{std::move(scheme), std::nullopt, "", std::nullopt};
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t end = std::min(rest.find('/'), rest.size());
        const std::string_view host = rest.substr(0, end);
        constexpr std::string_view kForbidden(" #/<>?@[\\]^|\0", 13);
        if (host.find_first_of(kForbidden) != std::string_view::npos) return std::nullopt;
        a.host = Encoded(host, EncodeSet::Controls);
        rest.remove_prefix(end);
    }
    if (a.host || rest.starts_with('/'))
        a.path = rest.empty() ? "" : HierarchicalPath(std::string(rest), false);
    else
        a.path = Encoded(rest, EncodeSet::Controls);
    return a;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsWebScheme(std::string_view scheme) {
    return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "ws" || scheme == "wss" ||
           scheme == "file";
}

// Leading and trailing blanks and control bytes go, tabs and line breaks
// anywhere, as the standard's parser takes them out before it starts.
std::string Prepared(std::string_view url) {
    while (!url.empty() && static_cast<unsigned char>(url.front()) <= 0x20) url.remove_prefix(1);
    while (!url.empty() && static_cast<unsigned char>(url.back()) <= 0x20) url.remove_suffix(1);
    std::string out;
    for (const char c : url)
        if (c != '\t' && c != '\n' && c != '\r') out += c;
    return out;
}

std::string Serialised(const Address& a) {
    std::string out = a.scheme + ":";
    if (a.host)
        out += "//" + *a.host;
    else if (a.path.starts_with("//"))
        out += "/.";
    out += a.path;
    if (a.query) out += "?" + *a.query;
    return out;
}

}  // namespace

std::optional<std::string> BrowserAddress(std::string_view url) {
    const std::string prepared = Prepared(url);
    std::string_view text = prepared;
    text = text.substr(0, text.find('#'));
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || !IsAsciiLetter(text[0])) return std::nullopt;
    for (const char c : text.substr(0, colon))
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return std::nullopt;
    std::string scheme = ToLowerAscii(text.substr(0, colon));
    const bool web = IsWebScheme(scheme);
    std::string_view rest = text.substr(colon + 1);
    const std::size_t question = rest.find('?');
    const std::string_view query = question == std::string_view::npos ? "" : rest.substr(question + 1);
    rest = rest.substr(0, question);

    std::optional<Address> address =
        web ? ParseWeb(std::move(scheme), rest) : ParseOther(std::move(scheme), rest);
    if (!address) return std::nullopt;
    if (question != std::string_view::npos)
        address->query = Encoded(query, web ? EncodeSet::SpecialQuery : EncodeSet::Query);
    return Serialised(*address);
}

std::string ReplayAddress(std::string_view url) {
    const std::optional<std::string> browser = BrowserAddress(url);
    // Only an address of a scheme without hosts can keep blanks or quotes.
    return ArchiveUri(browser ? *browser : url);
}

}  // namespace restash
