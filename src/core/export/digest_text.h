#pragma once
// Digests as text: base32 for the archive's own digests (the form web
// archives use, "sha1:" + 32 letters and digits), hexadecimal for the manifest.
#include <cstdint>
#include <span>
#include <string>

namespace restash {

// RFC 4648 base32, upper case, padded with "=" to a multiple of 8 characters.
std::string Base32(std::span<const std::uint8_t> bytes);

// Lower-case hexadecimal, two digits a byte.
std::string Hex(std::span<const std::uint8_t> bytes);

}  // namespace restash
