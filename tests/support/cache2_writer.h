#pragma once
// A writer of Firefox's cache2: cache2/entries/ with one file per entry,
// named for the SHA-1 of its key: the body, one 16-bit hash per 256 KB chunk,
// the metadata (version 1, 2 or 3), and the metadata's offset.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/web_objects.h"

namespace restash::test {

struct Cache2Options {
    std::uint32_t version = 3;     // of the metadata
    std::string originAttributes;  // "^userContextId=1": an "O" tag on every key
    std::string altData;           // appended after each body, with an "alt-data" element naming it
};

inline Cache2Options MetadataVersion(std::uint32_t version) {
    Cache2Options options;
    options.version = version;
    return options;
}

// "a,:http://..." with the tags the object and options call for ("~<postId>," for a POST).
std::string Cache2KeyOf(const WebObject& object, const Cache2Options& options = {});

// The whole entry file of an object.
std::string Cache2EntryBytes(const WebObject& object, const Cache2Options& options = {});

// Writes folder/entries/<SHA-1 of the key> for every object whose body is not
// missing (a missing body has no file at all in cache2). Returns the file names.
std::vector<std::string> WriteCache2(const std::string& folder, const std::vector<WebObject>& objects,
                                     const Cache2Options& options = {});

}  // namespace restash::test
