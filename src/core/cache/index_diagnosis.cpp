#include "core/cache/index_diagnosis.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/cache/hash_bytes.h"
#include "core/platform/error.h"
#include "core/platform/text.h"

namespace restash {
namespace {

constexpr std::uint32_t kHashMagic = 0x061561;
// Enough to see the first line's marker, the magic number and whether the
// file starts like text.
constexpr std::size_t kHeadBytes = 512;

}  // namespace

std::string ReadIndexHead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowErrno(path, errno);
    std::string head(kHeadBytes, '\0');
    std::size_t got = 0;
    int err = 0;
    while (got < head.size()) {
        const ssize_t n = ::read(fd, head.data() + got, head.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (err != 0) ThrowErrno(path, err);
    head.resize(got);
    return head;
}

namespace {

bool LooksLikeText(std::string_view bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 && c != '\t' && c != '\r' && c != '\n' && c != '\f') return false;
    }
    return true;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw Error(path + " is not a Netscape cache index (" + why + ")");
}

std::string Plural(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool IsTextIndexHead(std::string_view head) {
    std::string_view first = head.substr(0, 10);
    const std::size_t lineEnd = first.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos) first = first.substr(0, lineEnd);
    const std::string upper = ToUpperAscii(first);
    return upper == "MCOM-CACHE" || upper == "MOSAIC-COM";
}

bool HasHashMagic(std::string_view bytes) {
    return bytes.size() >= 4 && (ReadU32(bytes, 0, true) == kHashMagic || ReadU32(bytes, 0, false) == kHashMagic);
}

IndexFormat DiagnoseIndexFile(const std::string& path) {
    const std::string head = ReadIndexHead(path);
    if (head.empty()) Refuse(path, "the file is empty");
    if (IsTextIndexHead(head)) return IndexFormat::TextIndex;
    if (HasHashMagic(head)) return IndexFormat::HashIndex;
    if (LooksLikeText(head)) Refuse(path, "a text file whose first line does not begin with MCOM-CACHE");
    Refuse(path, "neither a text index nor a DB 1.85 hash file");
}

std::string HashDamage::Describe() const {
    std::string what;
    auto add = [&what](const std::string& part) { what += (what.empty() ? "" : "; ") + part; };
    if (headerDamaged) add("its header is damaged");
    if (pageSize != 0 && fileSize % pageSize != 0)
        add("it ends inside a page, after " + Plural(fileSize, "byte", "bytes"));
    else if (pagesMissing)
        add("pages it links to lie past its end");
    if (brokenPages > 0) add(Plural(brokenPages, "page fails", "pages fail") + " their structural checks");
    if (recordsFound < recordsCounted)
        add("its header counts " + std::to_string(recordsCounted) + " records, " + std::to_string(recordsFound) +
            " were found");
    return what;
}

}  // namespace restash
