#include "tests/support/history_file.h"

#include "tests/support/temp_dir.h"

namespace restash::test {

std::string HistoryRecord(const std::string& url, std::int32_t visited) {
    return url + "\t" + std::to_string(visited);
}

std::string HistoryFileBytes(const std::vector<std::string>& records, const std::string& lineEnd, bool endLast) {
    std::string bytes;
    for (std::size_t i = 0; i < records.size(); ++i) {
        bytes += records[i];
        if (endLast || i + 1 < records.size()) bytes += lineEnd;
    }
    return bytes;
}

void WriteHistoryFile(const std::string& path, const std::vector<std::string>& records, const std::string& lineEnd,
                      bool endLast) {
    WriteBytes(path, HistoryFileBytes(records, lineEnd, endLast));
}

}  // namespace restash::test
