#pragma once
// What the job tests share: a text-form cache of two sites with a history
// file, settings naming it, the offline root and a program folder, and the
// front end's services recorded (messages answered from a script, progress
// that can ask to stop, a process table that says whether the browser runs).
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <locale>
#include <map>
#include <string>

#include "core/app/process_table.h"
#include "core/app/settings.h"
#include "core/jobs/services.h"
#include "core/platform/clock.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {

// Answers whether a browser has the cache open as told.
class StubProcesses final : public ProcessTable {
public:
    bool running = false;
    std::optional<pid_t> HolderOf(const std::string&) override {
        return running ? std::optional<pid_t>(4242) : std::nullopt;
    }
};

inline NsObject Page(const std::string& url, const std::string& file, const std::string& body,
                     const std::string& mime = "text/html") {
    NsObject o;
    o.url = url;
    o.fileName = file;
    o.mimeType = mime;
    o.lastAccessed = 851000000;
    o.body = body;
    return o;
}

struct JobFixture {
    JobFixture() {
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
        RealFileSystem().CreateDirectories(dir / "cache");
        settings.CacheDir = dir / "cache/";
        settings.FatName = "FAT";
        settings.ProgramDir = dir / "program/";
        settings.HistPath = dir / "NETSCAPE.HST";
        settings.OfflineDir = dir / "OFFLINE/";
        settings.NetscapeDir = dir / "";
        settings.NetscapeExe = "netscape";
        WriteTextCache(settings.CacheDir,
                       {Page("http://a.example/", "A1.HTM", "<TITLE>A</TITLE><A HREF=b.html>b</A><IMG SRC=x.gif>"),
                        Page("http://a.example/b.html", "A2.HTM", "<TITLE>B</TITLE>sprocket"),
                        Page("http://a.example/x.gif", "A3.GIF", "GIF89a", "image/gif"),
                        Page("http://z.example/", "Z1.HTM", "<TITLE>Z</TITLE>zinc")});
        WriteBytes(settings.HistPath, "MCOM-Global-history-file-1\r\nhttp://a.example/\t1\r\n");
    }

    Services Use() { return Services{RealFileSystem(), progress, messages, clock, std::locale::classic(), processes}; }

    // Every file below folder, relative path -> bytes.
    static std::map<std::string, std::string> Tree(const std::string& folder) {
        std::map<std::string, std::string> out;
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file())
                out[it->path().lexically_relative(folder).generic_string()] = ReadBytes(it->path().string());
        return out;
    }

    TempDir dir;
    Settings settings;
    RecordingProgress progress;
    RecordingMessages messages;
    StubProcesses processes;
    FixedClock clock{852300300};
};

}  // namespace restash::test
