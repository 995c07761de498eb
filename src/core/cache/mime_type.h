#pragma once
// The MIME type an entry of a Mozilla-family cache is listed under: the
// response head's Content-Type, else one guessed from the address's
// extension; upper-cased and cut to 50 characters as Netscape's entries are.
#include <string>
#include <string_view>

namespace restash {

inline constexpr std::size_t kMimeTypeCapacity = 50;

// headMimeType is the type/subtype of the head's Content-Type (may be
// empty). Empty when neither gives a type.
std::string EntryMimeType(std::string_view headMimeType, std::string_view address);

// The upper-case MIME type of an address's file extension ("/a/b.GIF?x"
// gives "IMAGE/GIF"); empty for an unknown or missing extension.
std::string MimeTypeFromAddress(std::string_view address);

}  // namespace restash
