#pragma once
// A whole file mapped read-only into memory, for the index readers.
#include <cstddef>
#include <string>
#include <string_view>

namespace restash {

class MappedFile {
public:
    // Throws FileError naming path when it cannot be opened or is not a
    // regular file. An empty file gives empty bytes.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }

    // Lets the system drop the whole memory pages inside [from, to) of the
    // mapping; a later read of them reads the file again. Keeps a large index
    // from staying resident while its entries are built.
    void Release(std::size_t from, std::size_t to) const;

private:
    void* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace restash
