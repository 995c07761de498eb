#pragma once
// A writer of Netscape 6.0's disk cache: cache.db written by the real DB
// 1.85 library (16 KB pages, as the browser opened it) with the session,
// size, key and record pairs, and each body in 00/ to 1f/ under its record id.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/web_objects.h"

namespace restash::test {

struct Netscape6Options {
    bool lengthPrefixedTags = true;  // the string writer's two forms: u32 length + bytes, or bytes + NUL
    bool wideAccessCount = false;    // the access count as 16 bits instead of 8
    bool bigEndianPages = false;     // a Mac or big-endian Unix machine's pages
};

// The cache manager's metadata of an object ("HTTP headers" holds its head).
std::string Netscape6Metadata(const WebObject& object, const Netscape6Options& options);

// Writes folder/cache.db and the body files; record ids count up from
// 0x00ff0000 (the first session's). Returns cache.db's path.
std::string WriteNetscape6Cache(const std::string& folder, const std::vector<WebObject>& objects,
                                const Netscape6Options& options = {});

}  // namespace restash::test
