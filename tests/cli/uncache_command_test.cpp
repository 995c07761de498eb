#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/support/netscape_cache.h"

namespace restash::test {
namespace {

constexpr const char* kAfterTheVisits = "867000000";  // June 1997, after the hash sample's visits

// Lines of a CR LF text file.
std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 200 && !FileExists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return FileExists(path);
}

class HashSample : public ::testing::Test {
protected:
    void SetUp() override { cache = CopySample("hash-cache", work / "cache") + "/FAT.DB"; }
    CliResult Uncache(std::vector<std::string> extra = {}, const CliEnvironment& env = {}) {
        std::vector<std::string> args = {"--now", kAfterTheVisits, "uncache", "--cache", cache, "--offline", work / "out"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(home, args, env);
    }
    CliResult Search(const std::string& text) { return RunCli(home, {"search", "--offline", work / "out", text}); }
    std::string Root() const { return work / "out/OFFLINE/"; }

    TempDir home;
    TempDir work;
    std::string cache;
};

TEST_F(HashSample, UncacheThenSearchAsTheReadmeShows) {
    const CliResult run = Uncache();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Copied 25 files, converted 14 pages, skipped 0; index page: file://" + Root() +
                           "HTMINDEX.HTM\n");
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> pages = CrLfLines(ReadBytes(Root() + "HTMLIST"));
    ASSERT_EQ(pages.size(), 14u * 3);
    for (std::size_t i = 2; i < pages.size(); i += 3) EXPECT_TRUE(FileExists(Root() + pages[i])) << pages[i];
    EXPECT_FALSE(FileExists(home / "RESTASH.INI"));

    // A word of the pages' text is found; one that is only in an ALT attribute is not.
    const CliResult hit = Search("sprocket");
    ASSERT_EQ(hit.status, 0) << hit.err;
    EXPECT_NE(hit.out.find("Riverbend News\thttp://www.riverbend.example/news/today.html\n"), std::string::npos)
        << hit.out;
    EXPECT_NE(hit.out.find("About Riverbend\thttp://www.riverbend.example/about.html\n"), std::string::npos);
    EXPECT_EQ(hit.out.find("Joe"), std::string::npos);
    EXPECT_EQ(hit.err, "4 pages of 14 found; results page: file://" + Root() + "RESULTS.RSH\n");
    EXPECT_NE(ReadBytes(Root() + "RESULTS.RSH").find("Search Results for <I>'SPROCKET'</I>"), std::string::npos);

    const CliResult miss = Search("Quillwort");
    EXPECT_EQ(miss.status, 1) << miss.err;
    EXPECT_EQ(miss.out, "");
    EXPECT_NE(miss.err.find("'Quillwort' was not found in 14 pages"), std::string::npos) << miss.err;
    EXPECT_NE(ReadBytes(Root() + "RESULTS.RSH").find("<TR><TD>Not Found</TD><TR>"), std::string::npos);
}

TEST_F(HashSample, SelectionOptionsChooseLikeTheWindow) {
    CliResult r = Uncache({"--domain", "WWW.Riverbend.EXAMPLE", "--types", "text"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> pages = CrLfLines(ReadBytes(Root() + "HTMLIST"));
    ASSERT_FALSE(pages.empty());
    for (std::size_t i = 0; i < pages.size(); i += 3)
        EXPECT_EQ(pages[i].rfind("http://www.riverbend.example/", 0), 0u) << pages[i];
    const std::set<std::string> supportImages = {"NOTFOUND.GIF", "DOMAINUP.GIF", "DOMAINDN.GIF", "INDEX.GIF",
                                                 "I_BUTTON.GIF", "RIGHT.GIF",    "RESULTS.GIF",  "INFO.GIF",
                                                 "SITELOGO.GIF", "RESTASH.GIF"};
    for (const std::string& name : FilesIn(Root() + "MEDIA"))
        EXPECT_TRUE(supportImages.count(name)) << "not a text file: " << name;
    for (const std::string& name : FilesIn(Root() + "OTHERS")) ADD_FAILURE() << "not a text file: " << name;

    // A domain outside the age window is an error that lists the ones there are.
    std::filesystem::remove_all(work / "out");
    r = Uncache({"--domain", "nosuch.example"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the domains there: home.netpages.example, secure.riverbend.example, "
                         "www.photohost.example, www.riverbend.example; the cache's entries date on 1997-06-13"),
              std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(work / "out"));

    // Nothing newer than six hours a year later: nothing to uncache, said even with --quiet.
    r = RunCli(home, {"--quiet", "--now", "900000000", "uncache", "--cache", cache, "--offline", work / "out",
                      "--newer", "6h"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "restash-cli: nothing to uncache: no file of the cache matches the selection; the cache's entries date "
              "on 1997-06-13 (UTC)\n");
    EXPECT_FALSE(std::filesystem::exists(work / "out"));

    for (const auto& bad : std::vector<std::vector<std::string>>{{"--newer", "5h"},
                                                                 {"--older", "7d"},
                                                                 {"--newer", "6h", "--older", "1d"},
                                                                 {"--types", "text,bogus"},
                                                                 {"--keep-urls", "--no-keep-urls"}}) {
        r = Uncache(bad);
        EXPECT_EQ(r.status, 2) << bad[0] << " " << bad[1] << "\n" << r.err;
    }
}

TEST_F(HashSample, LinkPreferencesFromTheCommandLine) {
    // The home page links to jobs.html, which was never cached.
    ASSERT_EQ(Uncache().status, 0);
    std::string page = ReadBytes(Root() + "WWWRIVER.HTM");
    EXPECT_EQ(page.find("http://www.riverbend.example/jobs.html"), std::string::npos);
    EXPECT_NE(page.find("<BLINK>"), std::string::npos);

    ASSERT_EQ(Uncache({"--keep-urls", "--no-emphasis"}).status, 0);
    page = ReadBytes(Root() + "WWWRIVER.HTM");
    EXPECT_NE(page.find("<A HREF=\"http://www.riverbend.example/jobs.html\">"), std::string::npos) << page;
    EXPECT_EQ(page.find("<BLINK>"), std::string::npos);
}

TEST_F(HashSample, ViewOpensTheIndexInTheConfiguredBrowser) {
    const std::string browser = home / "fakenet.sh";
    WriteBytes(browser, "#!/bin/sh\nprintf '%s\\n' \"$1\" > \"$(dirname \"$0\")/launched.tmp\"\n"
                        "mv \"$(dirname \"$0\")/launched.tmp\" \"$(dirname \"$0\")/launched.txt\"\n");
    std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    WriteBytes(home / "RESTASH.INI", "[paths]\r\nnetspath=" + browser + "\r\n");
    CliEnvironment env;
    env.variables = {{"XDG_DATA_HOME", home / "xdg"}};

    CliResult r = Uncache({"--view"}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(WaitForFile(home / "launched.txt"));
    EXPECT_EQ(ReadBytes(home / "launched.txt"), Root() + "HTMINDEX.HTM\n");

    // A browser program that is not there: the copy is made, the error names the program.
    WriteBytes(home / "RESTASH.INI", "[paths]\r\nnetspath=" + home / "gone.sh" + "\r\n");
    r = Uncache({"--view"}, env);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "restash-cli: cannot open the index page: the browser program " + home / "gone.sh" +
                         " (netspath setting) is not there\n");
}

// A child holding path open until it is killed; the constructor returns once
// the child has opened it (it says so through a pipe), so nothing races.
class FileHolder {
public:
    explicit FileHolder(const std::string& path, const std::string& program) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            const int fd = open(path.c_str(), O_RDONLY);
            if (fd < 0) _exit(1);
            if (write(ready[1], "1", 1) != 1) _exit(1);
            // Holding the file across exec, under the program's name.
            fcntl(fd, F_SETFD, 0);
            execl(program.c_str(), program.c_str(), "30", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        char byte = 0;
        ok_ = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
    }
    ~FileHolder() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    bool ok() const { return ok_; }

private:
    pid_t pid_ = -1;
    bool ok_ = false;
};

// What must be known is whether a browser has this cache open, not whether a
// program of the browser's name runs: the commands that would change the
// cache or build on it refuse, the ones that only read it warn.
TEST_F(HashSample, TheBrowserCheckAsksWhetherAProcessHasTheCacheIndexOpen) {
    const std::string browser = home / "FAKENS";
    std::filesystem::copy_file("/bin/sleep", browser);
    WriteBytes(home / "RESTASH.INI", "[paths]\r\nnetspath=" + browser + "\r\n");
    const std::size_t files = FilesIn(work / "cache").size();
    {
        // A program of the configured name that works on another file does not block.
        FileHolder elsewhere(home / "RESTASH.INI", browser);
        ASSERT_TRUE(elsewhere.ok());
        const CliResult r = RunCli(home, {"--quiet", "list", "--cache", cache});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    FileHolder holder(cache, browser);
    ASSERT_TRUE(holder.ok());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--quiet", "uncache", "--cache", cache, "--offline", work / "out"},
             {"--quiet", "delete", "--cache", cache, "--yes"}}) {
        const CliResult r = RunCli(home, args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.err, "restash-cli: the browser (FAKENS) is running and may change the cache; quit it first\n")
            << args[1];
    }
    EXPECT_FALSE(std::filesystem::exists(work / "out"));
    EXPECT_EQ(FilesIn(work / "cache").size(), files);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"list", "--cache", cache}, {"export", "--cache", cache, "--warc", work / "a.warc.gz"}}) {
        const CliResult r = RunCli(home, args);
        EXPECT_EQ(r.status, 0) << args[0] << r.err;
        EXPECT_NE(r.err.find(cache + " is open in another program"), std::string::npos) << args[0] << r.err;
    }
}

TEST_F(HashSample, QuietPrintsNothingAndTheOutputHasNoWindowWords) {
    CliResult r = Uncache({"--quiet"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    r = RunCli(home, {"-q", "search", "--offline", work / "out", "sprocket"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--now", kAfterTheVisits, "uncache", "--cache", cache, "--offline", work / "out", "--view"},
             {"search", "--offline", work / "out", "sprocket"},
             {"search", "--offline", work / "out", "quillwort"},
             {"search", "--offline", work / "none", "quillwort"}}) {
        r = RunCli(home, args);
        for (const char* word : {"Netscape", "button", "menu", "window", "Confirm", "Information", "[No]", "Setup"})
            EXPECT_EQ((r.out + r.err).find(word), std::string::npos) << word << " in\n" << r.out << r.err;
    }
}

TEST_F(HashSample, DryRunNamesTheFilesTheRunMakesAndWritesNothing) {
    const CliResult plan = Uncache({"--dry-run"});
    ASSERT_EQ(plan.status, 0) << plan.err;
    EXPECT_FALSE(std::filesystem::exists(work / "out"));
    EXPECT_FALSE(FileExists(home / "xdg/mime/packages/restash-rsh.xml"));
    EXPECT_NE(plan.out.find("page   WWWRIVER.HTM        http://www.riverbend.example/\n"), std::string::npos)
        << plan.out;
    EXPECT_NE(plan.out.find("Would copy 25 files (14 pages, 1 other text, 8 media, 2 other) into " + Root() +
                            ", skip 0; nothing was written.\n"),
              std::string::npos) << plan.out;
    // The run then makes exactly the names the plan gave.
    ASSERT_EQ(Uncache().status, 0);
    std::istringstream lines(plan.out);
    std::string line;
    std::getline(lines, line);  // the heading
    std::size_t planned = 0;
    while (std::getline(lines, line) && line.rfind("Would", 0) != 0) {
        std::istringstream fields(line);
        std::string kind, name;
        fields >> kind >> name;
        EXPECT_TRUE(FileExists(Root() + name)) << line;
        ++planned;
    }
    EXPECT_EQ(planned, 25u);
}

TEST_F(HashSample, ReportIsOneJsonDocumentAndNeverInTheCache) {
    const CliResult r = Uncache({"--types", "text,media", "--report", work / "run.json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto report = nlohmann::json::parse(ReadBytes(work / "run.json"));
    EXPECT_EQ(report["version"], "0.1.0");
    EXPECT_EQ(report["command"], "uncache");
    EXPECT_EQ(report["outcome"], "completed");
    EXPECT_EQ(report["cache_index"]["path"], cache);
    EXPECT_EQ(report["cache_index"]["sha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(report["selection"]["types"], "text,media");
    EXPECT_EQ(report["counts"], nlohmann::json::parse(R"({"copied": 23, "converted": 14, "skipped": 0})"));
    std::size_t byType = 0;
    for (const auto& l : report["left_out"]) byType += l["reason"] == "not selected by type" ? 1 : 0;
    EXPECT_EQ(byType, 2u);  // the ZIP and the applet
    EXPECT_EQ(report["started"].get<std::string>().size(), 20u);

    const CliResult inCache = Uncache({"--report", work / "cache/run.json"});
    EXPECT_EQ(inCache.status, 2);
    EXPECT_NE(inCache.err.find("would go into the cache folder"), std::string::npos) << inCache.err;
    EXPECT_FALSE(FileExists(work / "cache/run.json"));
}

TEST_F(HashSample, UncacheRegistersTheIndexTypeUnlessToldNot) {
    const std::string package = home / "xdg/mime/packages/restash-rsh.xml";
    ASSERT_EQ(Uncache({"--no-register"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(home / "xdg"));
    ASSERT_EQ(Uncache().status, 0);
    EXPECT_TRUE(FileExists(package));
}

// Search words typed in the locale find the cache's Latin-1 pages and are
// shown as text in the results page.
TEST(SearchCommand, LocaleWordsFindLatin1PagesAndResultsShowThemAsText) {
    TempDir home;
    TempDir work;
    NsObject page;
    page.url = "http://cafe.example/";
    page.fileName = "M0000001.HTM";
    page.mimeType = "text/html";
    page.body = "<HTML><TITLE>Carte</TITLE><BODY>Un caf\xe9 cr\xe8me, 2 &lt;script&gt; tags</BODY></HTML>";
    page.lastAccessed = 866000000;
    const std::string index = WriteHashCache(work / "cache", {page});
    ASSERT_EQ(RunCli(home, {"uncache", "--cache", index, "--offline", work / "out"}).status, 0);
    struct Case {
        std::string words;
        int status;
    };
    for (const Case& c : std::vector<Case>{{"caf\u00e9 cr\u00e8me", 0},
                                           {"cafe creme", 1},
                                           {"<script>", 1},
                                           {"x\"&<b>", 1}}) {
        const CliResult r = RunCli(home, {"search", "--offline", work / "out", c.words}, Utf8Locale());
        EXPECT_EQ(r.status, c.status) << c.words << "\n" << r.err;
        const std::string results = ReadBytes(work / "out/OFFLINE/RESULTS.RSH");
        EXPECT_EQ(results.find("<SCRIPT>"), std::string::npos);
        EXPECT_EQ(results.find("<B>"), std::string::npos);
    }
    EXPECT_NE(ReadBytes(work / "out/OFFLINE/RESULTS.RSH").find("<I>'X&quot;&amp;&lt;B&gt;'</I>"), std::string::npos);
}

TEST(UncacheTextSample, RewritesTheHistoryAndCreatesTheProgramFolder) {
    TempDir home;
    TempDir work;
    const std::string cache = CopySample("text-cache", work / "cache");
    const std::string programDir = work / "new/home/";
    CliEnvironment env;
    env.variables = {{"TZ", "UTC"}};  // the run's time stamp is taken in local time
    env.programDir = programDir;
    const CliResult r = RunCli(home, {"--now", "853000000", "uncache", "--cache", cache + "/FAT", "--history",
                                      cache + "/NETSCAPE.HST", "--offline", work / "out"}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find(';')), "Copied 14 files, converted 7 pages, skipped 0");

    const std::string history = ReadBytes(cache + "/NETSCAPE.HST");
    EXPECT_EQ(history.rfind("MCOM-Global-history-file-1\r\r\n", 0), 0u) << history.substr(0, 40);
    EXPECT_NE(history.find("file://" + work / "out/OFFLINE/INDEX.HTM\t853000000\r\r\n"), std::string::npos)
        << history;
    // The new history was written beside the old one and is gone again; no settings file was written.
    EXPECT_FALSE(FileExists(cache + "/NETSCAPE.HST.restash-new"));
    EXPECT_FALSE(FileExists(programDir + "RESTASH.INI"));
}

}  // namespace
}  // namespace restash::test
