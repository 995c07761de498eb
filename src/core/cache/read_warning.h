#pragma once
// What a cache reader tells its caller about damage it read around: a
// damaged index (read as far as possible), a damaged entry (skipped), a body
// that is missing. The caller decides how to show it.
#include <cstddef>
#include <string>
#include <vector>

namespace restash {

enum class ReadWarningKind {
    DamagedIndex,  // the index is damaged; entries were recovered another way
    DamagedEntry,  // one entry could not be read and was skipped
    MissingBody,   // an entry's body is not where its record says
    Unsupported,   // a part of the cache this reader does not understand
};

struct ReadWarning {
    ReadWarningKind kind = ReadWarningKind::DamagedEntry;
    std::string file;             // the file concerned
    std::string what;             // what is wrong, in a few words
    std::size_t entriesRead = 0;  // DamagedIndex: the entries that could be read

    // DamagedIndex: "FILE is damaged (WHAT); N entries could be read, some
    // may be missing"; every other kind: "FILE: WHAT".
    std::string Text() const;
};

using ReadWarnings = std::vector<ReadWarning>;

}  // namespace restash
