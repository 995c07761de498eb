#pragma once
// Hand-written lines of a text-form cache index for the reader's tests.
#include <string>

namespace restash::test {

inline const std::string kTextHeader = "MCOM-Cache-file-allocation-table-format-1\r\n";

// One index line: two unused numbers, the stamp, the cache file's path, the
// URL, the MIME type and two more unused fields, CR LF at the end.
inline std::string IndexLine(const std::string& stamp, const std::string& path, const std::string& url,
                             const std::string& mime) {
    return "1\t512\t" + stamp + "\t" + path + "\t" + url + "\t" + mime + "\t0\t1\r\n";
}

}  // namespace restash::test
