#pragma once
// Netscape's text history file: one record per line, "address TAB seconds".
#include <cstdint>
#include <string>
#include <vector>

namespace restash::test {

// The first line of Netscape's text history file.
inline constexpr const char* kHistoryHeader = "MCOM-Global-history-file-1";

std::string HistoryRecord(const std::string& url, std::int32_t visited);

// The records joined with lineEnd ("\r\n", "\r\r\n", "\n" ...); the last one
// ends with lineEnd too unless endLast is false.
std::string HistoryFileBytes(const std::vector<std::string>& records, const std::string& lineEnd = "\r\n",
                             bool endLast = true);

void WriteHistoryFile(const std::string& path, const std::vector<std::string>& records,
                      const std::string& lineEnd = "\r\n", bool endLast = true);

}  // namespace restash::test
