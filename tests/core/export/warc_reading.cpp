#include "warc_reading.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

// Inflates the member at offset; returns its bytes and sets consumed.
std::string InflateMember(const std::string& file, std::size_t offset, std::size_t& consumed) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, 15 + 16), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + offset));
    z.avail_in = static_cast<uInt>(file.size() - offset);
    std::string out;
    char buffer[65536];
    int status;
    do {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    } while (status == Z_OK);
    EXPECT_EQ(status, Z_STREAM_END) << "member at " << offset;
    consumed = z.total_in;
    inflateEnd(&z);
    return out;
}

}  // namespace

std::string ReadRecord::Field(const std::string& name) const {
    EXPECT_EQ(Count(name), 1u) << name;
    for (const auto& [n, v] : fields)
        if (n == name) return v;
    return {};
}

std::size_t ReadRecord::Count(const std::string& name) const {
    std::size_t count = 0;
    for (const auto& f : fields) count += f.first == name;
    return count;
}

std::vector<std::pair<std::string, std::string>> ParseWarcFields(const std::string& block) {
    std::vector<std::pair<std::string, std::string>> fields;
    std::size_t at = 0;
    while (at < block.size()) {
        const std::size_t end = block.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << block.substr(at);
            break;
        }
        const std::string line = block.substr(at, end - at);
        const std::size_t colon = line.find(": ");
        EXPECT_NE(colon, std::string::npos) << line;
        if (colon != std::string::npos) fields.emplace_back(line.substr(0, colon), line.substr(colon + 2));
        at = end + 2;
    }
    return fields;
}

std::vector<ReadRecord> ReadWarc(const std::string& path) {
    const std::string file = ReadBytes(path);
    std::vector<ReadRecord> records;
    std::size_t offset = 0;
    while (offset < file.size()) {
        std::size_t consumed = 0;
        const std::string text = InflateMember(file, offset, consumed);
        if (consumed == 0) break;
        ReadRecord r;
        r.offset = offset;
        r.length = consumed;
        const std::size_t headEnd = text.find("\r\n\r\n");
        EXPECT_NE(headEnd, std::string::npos);
        const std::size_t firstLine = text.find("\r\n");
        r.version = text.substr(0, firstLine);
        r.fields = ParseWarcFields(text.substr(firstLine + 2, headEnd + 2 - (firstLine + 2)));
        const std::uint64_t length = std::stoull(r.Field("Content-Length"));
        const std::size_t blockAt = headEnd + 4;
        r.block = text.substr(blockAt, length);
        r.closedProperly = text.size() == blockAt + length + 4 && text.substr(blockAt + length) == "\r\n\r\n";
        records.push_back(std::move(r));
        offset += consumed;
    }
    return records;
}

}  // namespace restash::test
