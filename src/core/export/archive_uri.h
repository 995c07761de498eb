#pragma once
// Addresses as the archive writes them. A cache address is a string of
// single bytes that may hold spaces, Latin-1 letters or even line breaks (a
// hostile or damaged index); an archive's header lines and index need a URI
// made of printable ASCII.
#include <string>
#include <string_view>

namespace restash {

// url with every control byte, space, DEL, byte above 127 and one of
// '"', '<', '>' percent-encoded; everything else, "%" included, kept.
std::string ArchiveUri(std::string_view url);

// The sort key web-archive indexes file an address under (a SURT, as the
// common replay tools canonicalise it): scheme, user name and fragment
// dropped, host lower-cased with a leading "www." (or "www2." ...) removed and
// its labels reversed and joined by commas, a default port dropped, then ")"
// and the path and query, lower-cased, the path without a closing "/", the
// query's arguments sorted. An address without "//" is only lower-cased.
std::string SurtKey(std::string_view uri);

}  // namespace restash
