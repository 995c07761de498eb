#pragma once
// What a file named as a Netscape cache index turns out to be, said once for
// every command and the desktop program alike: the text form, the hash form,
// or a file that is neither (refused, with the reason); and, once a hash
// index has been read, what is wrong with it when it is damaged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/cache/cache_entry.h"

namespace restash {

// The form of the index at path. A file that is empty, or that is neither a
// text index (its first line begins with MCOM-CACHE or MOSAIC-COM) nor a
// DB 1.85 hash file (its magic number, in either byte order), is refused:
// throws Error "PATH is not a Netscape cache index (WHY)". Throws FileError
// when the file cannot be read.
IndexFormat DiagnoseIndexFile(const std::string& path);

// The first bytes of the file at path (enough for its marker or magic
// number). Throws FileError when it cannot be read.
std::string ReadIndexHead(const std::string& path);

// True when the first line of head begins with a text index's marker
// (MCOM-CACHE or MOSAIC-COM, in any case).
bool IsTextIndexHead(std::string_view head);

// True when bytes begin with a DB 1.85 hash file's magic number, written in
// either byte order.
bool HasHashMagic(std::string_view bytes);

// What a read of a hash index found wrong with it, as far as the file shows.
struct HashDamage {
    bool headerDamaged = false;      // the header could not be used: the pages were walked one by one
    std::uint64_t fileSize = 0;
    std::uint32_t pageSize = 0;      // 0 when the header could not be used
    bool pagesMissing = false;       // a page a live chain leads to lies past the end of the file
    std::size_t brokenPages = 0;     // pages that fail their structural checks
    std::uint32_t recordsCounted = 0;  // the records the header counts
    std::size_t recordsFound = 0;      // the records the live pages hold

    // Empty for a sound file; else what is wrong, in a few words, for the
    // damaged-index warning.
    std::string Describe() const;
};

}  // namespace restash
