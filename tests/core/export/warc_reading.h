#pragma once
// The tests' own way into a written archive: split it into its gzip members
// with zlib and each member into a record's fields and block.
#include <cstdint>
#include <string>
#include <vector>

namespace restash::test {

struct ReadRecord {
    std::uint64_t offset = 0;  // of the gzip member
    std::uint64_t length = 0;  // compressed
    std::string version;       // "WARC/1.1"
    std::vector<std::pair<std::string, std::string>> fields;
    std::string block;
    bool closedProperly = false;  // the block is followed by CR LF CR LF and nothing else

    // The value of the only field of that name; a test failure when there is
    // not exactly one.
    std::string Field(const std::string& name) const;
    std::size_t Count(const std::string& name) const;
};

// Every record, one per gzip member; fails the test on a member that does not
// inflate or a record that does not parse.
std::vector<ReadRecord> ReadWarc(const std::string& path);

// "name: value" lines of an application/warc-fields block.
std::vector<std::pair<std::string, std::string>> ParseWarcFields(const std::string& block);

}  // namespace restash::test
