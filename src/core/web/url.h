#pragma once
// Web addresses and the local names made from them: pure string operations,
// no I/O, used by every subsystem that speaks about addresses.
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

// The canonical form of a URL: "HTTP://" in upper case when the URL had that
// scheme, port 80 removed from the host.
std::string NormaliseURL(std::string_view url);

// The host part of a URL, letter case kept, port 80 removed (may be empty).
// Any scheme written with "://" (https, ftp) gives its host the same way; a
// URL without one ("about:blank") gives its text up to the first "/".
std::string DomainOf(std::string_view url);

struct MappedURL {
    std::string baseURL;   // host and directory without the scheme, for resolving relative links
    std::string baseName;  // 1 to 8 characters of the 8.3 name, upper case, or "RESTASHD"
};

// The base URL (cut to maxLength) and the local base name of a cache entry's URL.
// The base URL starts after the scheme's "://"; a URL without any "/" is all
// name and has an empty base URL.
MappedURL MapURL(std::string_view url, std::size_t maxLength = 255);

// A further name when baseName is taken: PAGE and 1 give PAGE1, MYLONG_F and 12 MYLONG12.
std::string NumberedName(std::string_view baseName, unsigned number);

// A domain is listed, counted and matched as its first 50 characters.
inline constexpr std::size_t kDomainCapacity = 50;

// The domain of a cache entry: DomainOf its URL, cut to 50 characters.
std::string EntryDomain(std::string_view url);

// The URL without its "/./" endings: while it ends in "/./", the last two
// characters go (x/./ becomes x/).
std::string CleanURL(std::string url);

}  // namespace restash
