#pragma once
// MD5 (RFC 1321): Netscape keys a cached POST reply by the digest of its
// post data.
#include <string>
#include <string_view>

namespace restash::test {

// The 16 raw bytes of the digest.
std::string Md5(std::string_view bytes);
// The digest as 32 lower-case hex digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace restash::test
