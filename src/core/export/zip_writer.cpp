#include "core/export/zip_writer.h"

#include <zlib.h>

#include <algorithm>

#include "core/export/utc_time.h"
#include "core/platform/error.h"

namespace restash {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kDataDescriptor = 0x08074b50;
constexpr std::uint32_t kCentralEntry = 0x02014b50;
constexpr std::uint32_t kZip64End = 0x06064b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kEnd = 0x06054b50;

constexpr std::uint64_t kMax32 = 0xFFFFFFFF;  // also the mark "see the ZIP64 field"
constexpr std::uint64_t kMax16 = 0xFFFF;
constexpr std::uint16_t kZip64Tag = 0x0001;
// Bit 3: CRC-32 and sizes follow the data in a descriptor.
constexpr std::uint16_t kFlags = 0x0008;
constexpr std::uint16_t kVersion = 20;  // stored members, data descriptors
constexpr std::uint16_t kVersionZip64 = 45;
constexpr std::uint16_t kMadeOnUnix = 3 << 8;
constexpr std::uint32_t kFileMode = 0100644u << 16;  // a plain file, rw-r--r--

void Le(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

// A member's content on its way into the ZIP file, counted and summed.
class ZipWriter::MemberFile final : public OutputFile {
public:
    MemberFile(ZipWriter& zip, Member& member) : zip_(zip), member_(member) {}
    void Write(std::string_view bytes) override {
        member_.crc = static_cast<std::uint32_t>(
            crc32_z(member_.crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
        member_.size += bytes.size();
        zip_.Put(bytes);
    }
    void Flush() override { zip_.out_.Flush(); }
    void Close() override {}
    const std::string& Path() const override { return zip_.out_.Path(); }

private:
    ZipWriter& zip_;
    Member& member_;
};

ZipWriter::ZipWriter(OutputFile& out, std::int64_t modified) : out_(out) {
    const std::uint32_t dos = DosDateTime(modified);
    date_ = static_cast<std::uint16_t>(dos >> 16);
    time_ = static_cast<std::uint16_t>(dos & 0xFFFF);
}

ZipWriter::~ZipWriter() = default;

void ZipWriter::Put(std::string_view bytes) {
    out_.Write(bytes);
    offset_ += bytes.size();
}

OutputFile& ZipWriter::Begin(std::string name, bool large) {
    EndMember();
    members_.push_back({std::move(name), large, offset_, 0, 0});
    const Member& m = members_.back();
    std::string h;
    Le(h, kLocalHeader, 4);
    Le(h, large ? kVersionZip64 : kVersion, 2);
    Le(h, kFlags, 2);
    Le(h, 0, 2);  // stored
    Le(h, time_, 2);
    Le(h, date_, 2);
    Le(h, 0, 4);  // CRC-32: in the descriptor
    Le(h, large ? kMax32 : 0, 4);
    Le(h, large ? kMax32 : 0, 4);
    Le(h, m.name.size(), 2);
    Le(h, large ? 20 : 0, 2);
    h += m.name;
    if (large) {
        Le(h, kZip64Tag, 2);
        Le(h, 16, 2);
        Le(h, 0, 8);  // both sizes: in the descriptor
        Le(h, 0, 8);
    }
    Put(h);
    open_ = std::make_unique<MemberFile>(*this, members_.back());
    return *open_;
}

void ZipWriter::EndMember() {
    if (!open_) return;
    open_.reset();
    const Member& m = members_.back();
    if (!m.large && m.size >= kMax32)
        throw FileError(out_.Path(), m.name + " is too large for the ZIP file as it was begun");
    std::string d;
    Le(d, kDataDescriptor, 4);
    Le(d, m.crc, 4);
    Le(d, m.size, m.large ? 8 : 4);  // stored: compressed size = size
    Le(d, m.size, m.large ? 8 : 4);
    Put(d);
}

void ZipWriter::PutCentralEntry(const Member& m) {
    // A member begun as large has ZIP64 sizes here too: some readers (the
    // replay tools' among them) take the data's offset from the directory,
    // assuming the local header's extra field is as long as this one.
    const bool bigSize = m.large || m.size >= kMax32;
    const bool bigOffset = m.offset >= kMax32;
    std::string extra;
    if (bigSize || bigOffset) {
        Le(extra, kZip64Tag, 2);
        Le(extra, (bigSize ? 16 : 0) + (bigOffset ? 8 : 0), 2);
        if (bigSize) {
            Le(extra, m.size, 8);
            Le(extra, m.size, 8);
        }
        if (bigOffset) Le(extra, m.offset, 8);
    }
    const std::uint16_t version = m.large || !extra.empty() ? kVersionZip64 : kVersion;
    std::string c;
    Le(c, kCentralEntry, 4);
    Le(c, kMadeOnUnix | version, 2);
    Le(c, version, 2);
    Le(c, kFlags, 2);
    Le(c, 0, 2);
    Le(c, time_, 2);
    Le(c, date_, 2);
    Le(c, m.crc, 4);
    Le(c, std::min(m.size, kMax32), 4);
    Le(c, std::min(m.size, kMax32), 4);
    Le(c, m.name.size(), 2);
    Le(c, extra.size(), 2);
    Le(c, 0, 2 + 2 + 2);  // comment length, disk, internal attributes
    Le(c, kFileMode, 4);
    Le(c, std::min(m.offset, kMax32), 4);
    Put(c + m.name + extra);
}

void ZipWriter::PutEndRecords(std::uint64_t directoryOffset, std::uint64_t directorySize) {
    const std::uint64_t count = members_.size();
    std::string e;
    if (count >= kMax16 || directoryOffset >= kMax32 || directorySize >= kMax32) {
        const std::uint64_t zip64EndOffset = offset_;
        Le(e, kZip64End, 4);
        Le(e, 44, 8);  // the record's size after this field
        Le(e, kMadeOnUnix | kVersionZip64, 2);
        Le(e, kVersionZip64, 2);
        Le(e, 0, 4 + 4);  // this disk, the directory's disk
        Le(e, count, 8);
        Le(e, count, 8);
        Le(e, directorySize, 8);
        Le(e, directoryOffset, 8);
        Le(e, kZip64Locator, 4);
        Le(e, 0, 4);
        Le(e, zip64EndOffset, 8);
        Le(e, 1, 4);  // disks
    }
    Le(e, kEnd, 4);
    Le(e, 0, 2 + 2);
    Le(e, std::min(count, kMax16), 2);
    Le(e, std::min(count, kMax16), 2);
    Le(e, std::min(directorySize, kMax32), 4);
    Le(e, std::min(directoryOffset, kMax32), 4);
    Le(e, 0, 2);  // comment length
    Put(e);
}

void ZipWriter::Finish() {
    EndMember();
    const std::uint64_t directoryOffset = offset_;
    for (const Member& m : members_) PutCentralEntry(m);
    PutEndRecords(directoryOffset, offset_ - directoryOffset);
}

}  // namespace restash
