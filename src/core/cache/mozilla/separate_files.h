#pragma once
// The separate data and metadata files of Mozilla's disk cache, named for
// the record's hash number, 'd' or 'm', and a generation: "0A1B2C3Dd01" in
// the cache folder up to map 1.18, "0/A1/B2C3Dd01" (folders for the first
// hex digit and the next two) from map 1.19.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace restash::mozilla {

struct SeparateFile {
    std::uint32_t hashNumber = 0;
    bool metadata = false;  // 'm'; 'd' otherwise
    std::uint8_t generation = 0;
    std::string relativePath;  // as found in the folder
};

std::string SeparateFileName(std::uint32_t hashNumber, bool metadata, std::uint8_t generation, bool nested);

// The file a relative path names, if it has either form (hex digits in
// either case, as a FAT volume may show them).
std::optional<SeparateFile> ParseSeparateFileName(std::string_view relativePath);

// Every separate file in folder (ending in "/") and its two levels of
// subfolders, in name order. A folder that cannot be listed holds none.
std::vector<SeparateFile> ListSeparateFiles(const std::string& folder);

}  // namespace restash::mozilla
