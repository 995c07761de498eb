#pragma once
// A ZIP file of stored (uncompressed) members, written front to back in one
// pass, so a member as large as a whole web archive never has to be held or
// written twice: each member's bytes are streamed, its CRC-32 and sizes
// follow them in a data descriptor, and the central directory ends the file.
// ZIP64 fields appear where a size, an offset or the number of members
// passes what the classic fields hold (4 GiB, 65,535). Every member carries
// the one modification time the writer is given, so the same members give
// the same bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/file_system.h"

namespace restash {

class ZipWriter {
public:
    // modified: seconds since 1970 UTC, every member's time.
    ZipWriter(OutputFile& out, std::int64_t modified);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Starts a member (ending the one before); what is written to the file
    // returned, until the next Begin or Finish, is its content. A member that
    // may pass 4 GiB must be begun as large: its local header then announces
    // the 8-byte sizes of its data descriptor, as readers that go through a
    // ZIP file front to back need, and its directory entry gives its sizes in
    // the same ZIP64 field. Any other member that passes 4 GiB is a FileError.
    OutputFile& Begin(std::string name, bool large = false);

    // Ends the last member and writes the central directory and the end
    // records. The output file is left open.
    void Finish();

private:
    class MemberFile;
    struct Member {
        std::string name;
        bool large = false;
        std::uint64_t offset = 0;  // of its local header
        std::uint32_t crc = 0;
        std::uint64_t size = 0;
    };

    void Put(std::string_view bytes);
    void EndMember();
    void PutCentralEntry(const Member& m);
    void PutEndRecords(std::uint64_t directoryOffset, std::uint64_t directorySize);

    OutputFile& out_;
    std::uint16_t date_ = 0, time_ = 0;
    std::uint64_t offset_ = 0;
    std::vector<Member> members_;
    std::unique_ptr<MemberFile> open_;
};

}  // namespace restash
