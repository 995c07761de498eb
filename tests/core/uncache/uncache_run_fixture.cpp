#include "uncache_run_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <locale>
#include <unordered_set>

#include "core/cache/cache_source.h"
#include "core/platform/progress.h"
#include "core/platform/text.h"
#include "tests/support/gif.h"
#include "tests/support/sample_files.h"

namespace restash::test {

namespace fs = std::filesystem;

NsObject Object(const std::string& url, const std::string& mime, std::string body, std::int32_t stamp) {
    static unsigned next = 1;
    NsObject o;
    o.url = url;
    o.mimeType = mime;
    o.body = std::move(body);
    o.fileName = EightThreeName(next++, mime);
    o.lastAccessed = stamp;
    o.lastModified = stamp - 86400;
    return o;
}

RunFixture::RunFixture() {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    settings.ProgramDir = dir / "PROGRAM/";
    settings.CacheDir = dir / "CACHE/";
    settings.FatName = "FAT.DB";
    settings.HistPath = dir / "NETSCAPE.HST";
    settings.NetscapeDir = dir / "NETSCAPE/";
    settings.NetscapeExe = "NETSCAPE.EXE";
    settings.OfflineDir = dir / "OFFLINE/";
    RealFileSystem().CreateDirectories(settings.ProgramDir);
    RealFileSystem().CreateDirectories(settings.CacheDir);
    selection.NowStamp = kRunStamp;
    InstallSupportImages();
}

void RunFixture::HashCache(const std::vector<NsObject>& objects) {
    WriteHashCache(settings.CacheDir, objects);
    UseCache(settings.CacheDir, "FAT.DB");
}

void RunFixture::TextCache(const std::vector<NsObject>& objects) {
    WriteTextCache(settings.CacheDir, objects);
    UseCache(settings.CacheDir, "FAT");
}

void RunFixture::UseCache(const std::string& cacheDir, const std::string& fatName) {
    settings.CacheDir = cacheDir;
    settings.FatName = fatName;
    source = OpenCacheSource(settings.CacheIndexPath());
    format = source->Traits().format;
    NullProgress quiet;
    source->Read(entries, quiet);
    SelectAll();
}

void RunFixture::SelectAll() {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const CacheEntry& e : entries)
        if (seen.insert(DomainKey(e.Domain)).second) names.push_back(Cut(e.Domain, 50));
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    selection.Domains = DomainSet(names);
    selection.IncludeText = selection.IncludeMedia = selection.IncludeOther = true;
}

std::string RunFixture::SupportImageBytes(int index) {
    const auto shade = static_cast<std::uint32_t>(0x101010 * (index + 1));
    return StripedGif(4 + index, 3, shade, 0xFFFFFF);
}

void RunFixture::InstallSupportImages() {
    for (int i = 0; i < 10; ++i) WriteBytes(settings.ProgramDir + kSupportImages[i], SupportImageBytes(i));
}

RunOutcome RunFixture::Run(FileSystem& fs) {
    RunServices services{fs, *sink, messages, clock, std::locale::classic()};
    return RunUncache(settings, *source, entries, selection, services);
}

RunOutcome RunFixture::RunAnswering(Answer answer, FileSystem& fs) {
    messages.Answer(answer);
    return Run(fs);
}

void PhaseProgress::Phase(std::string_view text) {
    phases.emplace_back(text);
    inPhase_ = 0;
}

bool PhaseProgress::ProcessMessages() {
    if (phases.empty() || phases.back() != phase_) return !reached || action;
    if (++inPhase_ < nth_) return !reached || action;
    if (action) {
        if (!reached) action();
        reached = true;
        return true;
    }
    reached = true;
    return false;
}

std::map<std::string, std::string> TreeOf(const std::string& folder) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file())
            out[it->path().lexically_relative(folder).generic_string()] = ReadBytes(it->path().string());
    return out;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (!it->is_directory()) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string DataPath(const std::string& relative) {
    return std::string(RESTASH_SOURCE_DIR) + "/tests/data/" + relative;
}

}  // namespace restash::test
