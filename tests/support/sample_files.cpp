#include "tests/support/sample_files.h"

#include <cstdio>

namespace restash::test {
namespace {

void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>((v >> 8) & 0xff));
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

}  // namespace

std::string EightThreeName(unsigned number, std::string_view mimeType) {
    const char* ext = "DAT";
    if (mimeType == "text/html") ext = "HTM";
    else if (mimeType == "image/gif") ext = "GIF";
    else if (mimeType == "image/jpeg") ext = "JPG";
    else if (mimeType == "text/plain") ext = "TXT";
    else if (mimeType == "application/x-zip-compressed") ext = "ZIP";
    else if (mimeType == "application/java-vm") ext = "CLA";
    char name[16];
    std::snprintf(name, sizeof name, "M%07X.%s", number & 0xfffffffu, ext);
    return name;
}

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string ZipWithOneFile(const std::string& name, const std::string& contents) {
    const std::uint32_t crc = Crc32(contents);
    const auto size = static_cast<std::uint32_t>(contents.size());
    const std::uint32_t dosTime = 0x6000, dosDate = 0x22C1;  // 1 June 1997, 12:00
    std::string zip;
    Put32(zip, 0x04034b50);  // local file header
    Put16(zip, 10);          // version needed
    Put16(zip, 0);           // flags
    Put16(zip, 0);           // stored
    Put16(zip, dosTime);
    Put16(zip, dosDate);
    Put32(zip, crc);
    Put32(zip, size);
    Put32(zip, size);
    Put16(zip, static_cast<std::uint32_t>(name.size()));
    Put16(zip, 0);
    zip += name + contents;
    const auto central = static_cast<std::uint32_t>(zip.size());
    Put32(zip, 0x02014b50);  // central directory entry
    Put16(zip, 20);
    Put16(zip, 10);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, dosTime);
    Put16(zip, dosDate);
    Put32(zip, crc);
    Put32(zip, size);
    Put32(zip, size);
    Put16(zip, static_cast<std::uint32_t>(name.size()));
    Put16(zip, 0);  // extra
    Put16(zip, 0);  // comment
    Put16(zip, 0);  // disk
    Put16(zip, 0);  // internal attributes
    Put32(zip, 0);  // external attributes
    Put32(zip, 0);  // offset of the local header
    zip += name;
    const auto centralSize = static_cast<std::uint32_t>(zip.size()) - central;
    Put32(zip, 0x06054b50);  // end of central directory
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, 1);
    Put16(zip, 1);
    Put32(zip, centralSize);
    Put32(zip, central);
    Put16(zip, 0);
    return zip;
}

std::string JavaClassStub(const std::string& className) {
    std::string c("\xCA\xFE\xBA\xBE\x00\x03\x00\x2D", 8);  // magic, version 45.3
    c += std::string("\x00\x02\x01", 3);
    Put16(c, 0);
    c[c.size() - 2] = static_cast<char>((className.size() >> 8) & 0xff);
    c[c.size() - 1] = static_cast<char>(className.size() & 0xff);
    c += className;
    return c;
}

}  // namespace restash::test
