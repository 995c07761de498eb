#pragma once
// Addresses in the form a browser asks for them. Replay tools look a page up
// by the address as the browser writes it, while a cache keeps it as a user
// or a link wrote it ("HTTP://Site.Example.COM:80/docs/./a.html"). The
// archive's records, its index and its page list use the browser's form.
//
// The cache's address is parsed as the WHATWG URL standard parses an address
// without a base, and written back in that standard's serialisation: scheme
// and host in lower case, a default port dropped, dot segments resolved, "\"
// read as "/" in web addresses, an empty path made "/", and characters that
// need it percent-encoded (bytes above 127 as the UTF-8 of the Latin-1
// letter they stand for, as the cache's other texts are read). IPv4 hosts in
// any of the forms browsers accept become dotted decimal. The fragment is
// dropped: a browser never sends it.
//
// Not done: international host names (a host with bytes above 127 has no
// browser form here) and IPv6 literals beyond lower-casing.
#include <optional>
#include <string>
#include <string_view>

namespace restash {

// The browser's form of url; none when the standard's parser rejects it (no
// scheme, a web address without a host, a port that is not a number up to
// 65535, a host with forbidden characters) or its host is not ASCII.
std::optional<std::string> BrowserAddress(std::string_view url);

// The address the archive files url under: its browser form, or, when it has
// none, url with the bytes a URI cannot hold percent-encoded (ArchiveUri).
std::string ReplayAddress(std::string_view url);

}  // namespace restash
