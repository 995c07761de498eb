// The offline copy in a real browser: a run of each bundled sample, the page
// types registered as the program registers them, and headless Chromium
// asked for the document it builds from every index page and converted
// page. Each must be parsed as HTML, not shown as text in a <pre> wrapper.
//
// Without Chromium (Debian packages chromium and shared-mime-info) the test
// is skipped, except when the environment variable CI is set: there it fails.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>

#include "core/app/rsh_mime_type.h"
#include "core/cache/netscape_source.h"
#include "core/platform/text.h"
#include "core/uncache/uncache_run.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kChromium = "/usr/bin/chromium";
// What Chromium makes of a file it takes for plain text.
constexpr const char* kTextWrapper = "<pre style=\"word-wrap: break-word; white-space: pre-wrap;\">";

// The tool the check needs that is not installed; empty when all are.
std::string MissingTool() {
    if (!fs::exists(kChromium)) return "chromium";
    if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0) return "update-mime-database";
    return "";
}

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class BrowserCheck : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string missing = MissingTool();
        if (!missing.empty()) {
            if (std::getenv("CI") != nullptr) FAIL() << missing << " is not installed; the browser check cannot run";
            GTEST_SKIP() << missing << " is not installed";
        }
        ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        ::setenv("TZ", "UTC0", 1);
        RegisterRshType();
        ASSERT_TRUE(fs::exists(dir / "data/mime/globs2")) << "the MIME database was not built";
    }

    // A whole run of a sample cache into a fresh offline root.
    void RunSample(const std::string& sample, const std::string& fatName) {
        settings.ProgramDir = dir / "PROGRAM/";
        settings.CacheDir = std::string(RESTASH_SOURCE_DIR) + "/samples/" + sample + "/";
        settings.FatName = fatName;
        settings.OfflineDir = dir / (sample + "/OFFLINE/");
        settings.HistPath = dir / (sample + ".HST");
        fs::create_directories(settings.ProgramDir);
        if (fs::exists(settings.CacheDir + "NETSCAPE.HST")) fs::copy_file(settings.CacheDir + "NETSCAPE.HST", settings.HistPath);

        const auto source = OpenCacheSource(settings.CacheIndexPath());
        CacheEntryList entries;
        NullProgress quiet;
        source->Read(entries, quiet);
        Selection selection;
        std::vector<std::string> domains;
        for (const CacheEntry& e : entries) {
            bool seen = false;
            for (const std::string& d : domains) seen = seen || EqualsNoCase(d, e.Domain);
            if (!seen) domains.push_back(e.Domain);
        }
        std::stable_sort(domains.begin(), domains.end(),
                         [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
        selection.Domains = DomainSet(domains);
        selection.IncludeOther = true;
        selection.NowStamp = 866300000;

        FixedClock clock(866300000);
        RecordingProgress progress;
        RecordingMessages messages;
        messages.Answer(Answer::No);
        RunServices services{RealFileSystem(), progress, messages, clock, std::locale::classic()};
        const RunOutcome outcome = RunUncache(settings, *source, entries, selection, services);
        ASSERT_EQ(outcome.ending, Ending::Finished);
        ASSERT_GT(outcome.pagesConverted, 3u);
        domainCount = domains.size();
    }

    // The document Chromium builds from a file of the offline root.
    std::string DumpDom(const std::string& name) {
        const std::string profile = dir / ("profile" + std::to_string(++launches));
        const std::string command =
            std::string("timeout 120 ") + kChromium +
            " --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update"
            " --disable-sync --no-first-run --user-data-dir=" + Quoted(profile) +
            " --dump-dom " + Quoted("file://" + settings.OfflineDir + name) + " 2>/dev/null";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            std::array<char, 4096> chunk;
            for (std::size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) out.append(chunk.data(), n);
            const int status = ::pclose(pipe);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name << ": chromium ended with " << status;
        }
        fs::remove_all(profile);
        return out;
    }

    // The file is a page to Chromium, holding each of the elements wanted.
    void ExpectHtml(const std::string& name, const std::vector<std::string>& elements) {
        const std::string dom = DumpDom(name);
        ASSERT_FALSE(dom.empty()) << name;
        EXPECT_EQ(dom.find(kTextWrapper), std::string::npos) << name << " is shown as text:\n" << dom.substr(0, 400);
        for (const std::string& element : elements)
            EXPECT_NE(dom.find(element), std::string::npos) << name << " lacks " << element << ":\n"
                                                            << dom.substr(0, 400);
    }

    // Every converted page: it is HTML, and its links are links.
    void ExpectConvertedPages() {
        std::size_t pages = 0;
        for (const auto& entry : fs::directory_iterator(settings.OfflineDir)) {
            const std::string name = entry.path().filename().string();
            if (!EndsWithNoCase(name, ".HTM") || name == "HTMINDEX.HTM") continue;
            ++pages;
            const std::string bytes = ToUpperAscii(ReadBytes(entry.path().string()));
            std::vector<std::string> wanted;
            if (bytes.find("<FRAMESET") != std::string::npos) {
                wanted = {"<frameset", "<frame src="};
            } else {
                wanted = {"<body"};
                if (bytes.find("<A HREF") != std::string::npos) wanted.push_back("<a href=");
            }
            ExpectHtml(name, wanted);
        }
        EXPECT_GT(pages, 3u);
    }

    // Domain pages, and the media pages of the domains that have them.
    void ExpectDomainPages() {
        std::size_t mediaPages = 0;
        for (std::size_t n = 0; n < domainCount; ++n) {
            ExpectHtml(std::to_string(n) + ".RSH", {"<table", "<a href=", "<img"});
            if (fs::exists(settings.OfflineDir + std::to_string(n) + ".RSI")) {
                ++mediaPages;
                ExpectHtml(std::to_string(n) + ".RSI", {"<table", "<a href=\"MEDIA/"});
            }
        }
        EXPECT_GT(mediaPages, 0u);
    }

    TempDir dir;
    Settings settings;
    std::size_t domainCount = 0;
    int launches = 0;
};

TEST_F(BrowserCheck, HashSampleWithItsFramesetIndex) {
    RunSample("hash-cache", "FAT.DB");
    ExpectHtml("HTMINDEX.HTM", {"<frameset", "<frame src=\"BUTTONS.RSH\"", "<frame src=\"DOMAINS.RSH\""});
    ExpectHtml("BUTTONS.RSH", {"<a href=\"RESULTS.RSH\"", "<img src=\"MEDIA/RESULTS.GIF\""});
    ExpectHtml("DOMAINS.RSH", {"<table", "<a href=\"0.RSH\""});
    ExpectHtml("RESTASH.RSH", {"<h1>Offline Index</h1>", "<img"});
    ExpectHtml("RESULTS.RSH", {"<h2>"});
    ExpectDomainPages();
    ExpectConvertedPages();
}

TEST_F(BrowserCheck, TextSampleWithItsSinglePageIndex) {
    RunSample("text-cache", "FAT");
    ExpectHtml("HTMINDEX.HTM", {"<table", "<a href=\"0.RSH\"", "<a name=\"1\""});
    ExpectHtml("RESULTS.RSH", {"<title>Restash - Search Page</title>", "<h2>"});
    ExpectDomainPages();
    ExpectConvertedPages();
}

}  // namespace
}  // namespace restash::test
