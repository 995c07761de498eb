#pragma once
// Small real files of the other kinds a cache holds, and Netscape-like cache
// file names.
#include <cstdint>
#include <string>
#include <string_view>

namespace restash::test {

// "M" + seven upper-case hex digits of number + an extension for the MIME
// type (HTM, GIF, JPG, TXT, ZIP, CLA, or DAT), as Netscape's Windows builds
// name their cache files.
std::string EightThreeName(unsigned number, std::string_view mimeType);

std::uint32_t Crc32(std::string_view bytes);

// A ZIP archive holding one stored (uncompressed) file.
std::string ZipWithOneFile(const std::string& name, const std::string& contents);

// The first bytes of a Java class file, enough for a file-type test.
std::string JavaClassStub(const std::string& className);

}  // namespace restash::test
