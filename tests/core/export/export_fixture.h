#pragma once
// What the export tests share: a cache folder, entries for its files written
// the way the reader fills them, the export's options and an output folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/cache/netscape_source.h"
#include "core/export/export_archive.h"
#include "core/web/url.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {

class ExportFixture : public ::testing::Test {
protected:
    // An entry and its cache file holding body.
    CacheEntry& Add(const std::string& url, const std::string& file, const std::string& mime,
                    const std::string& body, std::int32_t stamp) {
        WriteBytes(cache_ / file, body);
        CacheEntry e;
        e.Stamp = stamp;
        e.Body.Name = file;
        e.Url = url;
        e.MimeType = mime;
        e.Domain = DomainOf(url);
        e.category = ClassifyMimeType(mime);
        entries_.push_back(e);
        return entries_.back();
    }

    // Through the source of a hash index in the cache folder, whose bodies
    // are its files.
    ExportReport Export(FileSystem& fs = RealFileSystem()) {
        return ExportArchive(entries_, selection_, NetscapeHashSource(cache_ / "FAT.DB"), options_, progress_, fs);
    }

    // The names in the output folder, sorted.
    std::vector<std::string> OutputFolder() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out_.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir cache_, out_;
    CacheEntryList entries_;
    Selection selection_;
    ExportOptions options_;
    RecordingProgress progress_;
};

}  // namespace restash::test
