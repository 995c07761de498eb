#pragma once
// The hash functions of Mozilla's caches. A disk cache record is filed under
// its key's hash number, which also names the entry's separate files; cache2
// checks its metadata and chunks with the same function.
#include <cstdint>
#include <string_view>

namespace restash::mozilla {

// Bob Jenkins' 1996 hash ("lookup2") over bytes, as Mozilla's disk cache (from
// Firefox 2 or so) and cache2 use it.
std::uint32_t Lookup2Hash(std::string_view bytes, std::uint32_t initval = 0);

// The shift-and-xor string hash of the first disk caches (Mozilla 0.9.5 to
// 1.7): never 0.
std::uint32_t EarlyKeyHash(std::string_view key);

}  // namespace restash::mozilla
