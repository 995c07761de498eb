#pragma once
// The URL helpers: pure string operations every subsystem uses to speak about
// web addresses and their offline copies.
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

// The file extension (with its point) of a local copy of the MIME type; ".!!!" when unknown.
std::string ExtensionFor(std::string_view mimeType);

}  // namespace restash
