#include "index_fixture.h"

#include <filesystem>

namespace restash::test {

std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file()) out[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return out;
}

std::string Records(const std::vector<std::vector<std::string>>& records) {
    std::string out;
    for (const auto& record : records)
        for (const auto& line : record) out += line + "\r\n";
    return out;
}

}  // namespace restash::test
