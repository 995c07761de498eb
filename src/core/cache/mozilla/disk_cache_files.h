#pragma once
// The files of a disk cache folder as the reader uses them: the block files
// mapped once, the separate files looked up without regard to letter case,
// and the places a record's locations point at.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/cache/cache_folder.h"
#include "core/cache/mapped_file.h"
#include "core/cache/mozilla/cache_location.h"
#include "core/cache/mozilla/separate_files.h"
#include "core/cache/stored_body.h"

namespace restash::mozilla {

class DiskCacheFiles {
   public:
    explicit DiskCacheFiles(std::string folder);

    const std::string& Folder() const { return folder_; }
    // The real path of a file named relative to the folder, if present.
    std::optional<std::string> Find(std::string_view relative) const { return listing_.Find(relative); }
    // The bytes of block file 1 to 3; empty when it is missing or unreadable.
    std::string_view BlockFile(int file) const;
    static std::string BlockFileName(int file);

    // The bytes a metadata location points at: a block run (at most the
    // run's bytes; less when the file ends early) or a separate file read
    // whole. Empty with problem set when they cannot be had; relativePath
    // names where they are.
    std::string MetadataBytes(CacheLocation location, std::uint32_t hashNumber, unsigned mapMinor,
                              std::string& relativePath, std::string& problem) const;

    // Where a data location puts a body of dataSize bytes.
    BodyLocation DataBody(CacheLocation location, std::uint32_t hashNumber, unsigned mapMinor,
                          std::uint32_t dataSize) const;

    // The separate file of a hash number, in either naming form.
    std::optional<std::string> FindSeparate(std::uint32_t hashNumber, bool metadata, std::uint8_t generation,
                                            unsigned mapMinor, std::string& relativePath) const;

    // Every separate file in the folder, listed on first use.
    const std::vector<SeparateFile>& SeparateFiles() const;

   private:
    std::string folder_;
    CacheFolder listing_;
    std::array<std::unique_ptr<MappedFile>, 3> blocks_;
    mutable std::optional<std::vector<SeparateFile>> separate_;
};

}  // namespace restash::mozilla
