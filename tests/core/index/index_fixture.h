#pragma once
// A small offline root for the index writers: the run's records of the
// copied files (the listed pages read from a page list's bytes), a fixed
// clock read in UTC and the "C" locale, so every written byte is known in
// advance.
#include <cstdlib>
#include <ctime>
#include <locale>
#include <map>
#include <string>
#include <vector>

#include "core/index/index_inputs.h"
#include "core/platform/clock.h"
#include "core/platform/file_system.h"
#include "core/offline/copied_files.h"
#include "core/offline/page_list.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {

// Friday, January 3, 1997 14:05:00 UTC.
inline constexpr std::int64_t kFriday = 852300300;

inline void UseUtc() {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
}

inline std::string DataPath(const std::string& relative) {
    return std::string(RESTASH_SOURCE_DIR) + "/tests/data/" + relative;
}

// Every file directly in folder (no subfolders), name -> bytes.
std::map<std::string, std::string> FilesIn(const std::string& folder);

struct IndexFixture {
    IndexFixture() { UseUtc(); }

    TempDir dir;
    TempDir lists;
    CopiedFiles files;
    FixedClock clock{kFriday};
    RecordingProgress progress;

    // The pages a page list of these bytes lists, as converted pages of the run.
    void PageList(const std::string& bytes) {
        WriteBytes(lists / "HTMLIST", bytes);
        PageListReader reader(lists / "HTMLIST");
        for (CopiedFile page; reader.Next(page);) files.List(files.AddPage(page.url, page.path, ""), page.title);
    }
    void Copied(const std::string& url, const std::string& path) { files.Add(url, path); }

    IndexInputs Inputs(std::vector<std::string> domains, FileSystem& fs = RealFileSystem()) {
        return IndexInputs{dir.path(), std::move(domains), files, clock, std::locale::classic(), progress, fs};
    }
    std::string Read(const std::string& name) const { return ReadBytes(dir / name); }
};

// Page list records, each line ended by CR LF.
std::string Records(const std::vector<std::vector<std::string>>& records);

}  // namespace restash::test
