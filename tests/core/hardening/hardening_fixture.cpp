#include "tests/core/hardening/hardening_fixture.h"

#include <filesystem>
#include <locale>

#include "core/cache/netscape_source.h"
#include "core/platform/paths.h"
#include "core/selection/domain_tally.h"
#include "core/web/url.h"

namespace fs = std::filesystem;

namespace restash::test {

Tree Snapshot(const std::string& folder) {
    Tree tree;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string relative = it->path().lexically_relative(folder).generic_string();
        if (it->is_symlink())
            tree[relative] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_regular_file())
            tree[relative] = ReadBytes(it->path().string());
    }
    return tree;
}

std::vector<std::string> NamesEndingIn(const Tree& tree, const std::string& suffix) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : tree)
        if (name.ends_with(suffix)) names.push_back(name);
    return names;
}

namespace {

NsObject Object(std::string url, std::string file, std::string mime, std::string body) {
    NsObject o;
    o.url = std::move(url);
    o.fileName = std::move(file);
    o.mimeType = std::move(mime);
    o.body = std::move(body);
    o.lastAccessed = 899000000;
    return o;
}

}  // namespace

RunFixture::RunFixture() {
    objects = {
        Object("http://www.example.com/", "M0000001.HTM", "text/html",
               "<HTML><TITLE>Home</TITLE><A HREF=\"page.html\">page</A><IMG SRC=\"logo.gif\"></HTML>"),
        Object("http://www.example.com/page.html", "M0000002.HTM", "text/html",
               "<HTML><TITLE>Page</TITLE><A HREF=\"/\">home</A><A HREF=\"notes.txt\">notes</A></HTML>"),
        Object("http://www.example.com/logo.gif", "M0000003.GIF", "image/gif", std::string(3000, '\x47')),
        Object("http://www.example.com/notes.txt", "M0000004.TXT", "text/plain", "plain notes\r\n"),
        Object("http://files.example.org/pack.zip", "M0000005.ZIP", "application/x-zip-compressed",
               std::string(5000, 'Z')),
    };
    settings.ProgramDir = dir / "home/";
    settings.CacheDir = dir / "cache/";
    settings.FatName = "FAT";
    settings.HistPath = dir / "netscape/NETSCAPE.HST";
    settings.OfflineDir = dir / "out/OFFLINE/";
    settings.NetscapeDir = dir / "netscape/";
    settings.NetscapeExe = "NETSCAPE.EXE";
    RealFileSystem().CreateDirectories(settings.ProgramDir);
    RealFileSystem().CreateDirectories(settings.NetscapeDir);
    WriteTextCache(settings.CacheDir, objects);
    WriteBytes(settings.HistPath, kHistory);
    selection.IncludeOther = true;
    selection.AgeLower = 0;
    selection.AgeUpper = kNoUpperLimit;
    selection.NowStamp = 900000000;
}

void RunFixture::ReadIndex() {
    NullProgress quiet;
    entries.clear();
    NetscapeTextSource(settings.CacheIndexPath()).Read(entries, quiet);
    selection.Domains.Clear();
    for (const CacheEntry& e : entries)
        if (!selection.Domains.Contains(e.Domain)) selection.Domains.Add(e.Domain);
}

RunOutcome RunFixture::Run(FileSystem& fs) {
    if (entries.empty()) ReadIndex();
    messages.Answer(Answer::No);
    RunServices services{fs, progress, messages, clock, std::locale::classic()};
    return RunUncache(settings, NetscapeTextSource(settings.CacheIndexPath()), entries, selection, services);
}

}  // namespace restash::test
