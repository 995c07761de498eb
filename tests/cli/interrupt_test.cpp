#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "tests/cli/cli_runner.h"
#include "tests/support/history_file.h"
#include "tests/support/netscape_cache.h"

namespace restash::test {
namespace {

// A running restash-cli with its standard output and error in files of home.
class CliProcess {
public:
    CliProcess(const TempDir& home, std::vector<std::string> args) {
        args.insert(args.begin(), {RESTASH_CLI_PATH, "--program-dir", home.path()});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        const std::string out = home / "stdout.txt", err = home / "stderr.txt";
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, RESTASH_CLI_PATH, &files, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~CliProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
    void Interrupt(int signal = SIGINT) const { kill(pid_, signal); }
    int Wait() {
        int raw = 0;
        waitpid(pid_, &raw, 0);
        pid_ = -1;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

private:
    pid_t pid_ = -1;
};

// A text-form cache of many interlinked pages, so that the run takes a while.
std::string WriteLargeTextCache(const std::string& folder, int pages = 6000, const std::string& site = "site") {
    std::vector<NsObject> objects;
    for (int i = 0; i < pages; ++i) {
        NsObject page;
        page.url = "http://www." + site + std::to_string(i % 7) + ".example/dir" + std::to_string(i / 50) + "/page" +
                   std::to_string(i) + ".html";
        page.mimeType = "text/html";
        page.fileName = "M" + std::to_string(1000000 + i) + ".HTM";
        page.lastAccessed = 850000000 + i;
        page.body = "<HTML><HEAD><TITLE>Page " + std::to_string(i) + "</TITLE></HEAD><BODY>\r\n";
        for (int k = 1; k <= 40; ++k)
            page.body += "<A HREF=\"page" + std::to_string((i + k) % pages) + ".html\">link " + std::to_string(k) +
                         "</A> <IMG SRC=\"../img/p" + std::to_string(k) + ".gif\">\r\n";
        page.body += "</BODY></HTML>\r\n";
        objects.push_back(std::move(page));
    }
    return WriteTextCache(folder, objects);
}

// Every file below folder (relative path), and the page list's bytes: what
// tells one whole copy from another.
struct CopyShape {
    std::set<std::string> files;
    std::string pageList;
    bool operator==(const CopyShape&) const = default;
};

CopyShape ShapeOf(const std::string& root) {
    CopyShape shape;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) shape.files.insert(std::filesystem::relative(it->path(), root).string());
    if (FileExists(root + "HTMLIST")) shape.pageList = ReadBytes(root + "HTMLIST");
    return shape;
}

int RunToTheEnd(const TempDir& home, const std::vector<std::string>& args) {
    CliProcess cli(home, args);
    return cli.Wait();
}

TEST(Interrupt, CtrlCStopsTheRunRemovesTheNewCopyAndStillReplacesTheHistory) {
    TempDir home;
    TempDir work;
    const std::string index = WriteLargeTextCache(work / "cache");
    const std::string history = work / "NETSCAPE.HST";
    WriteHistoryFile(history, {kHistoryHeader, HistoryRecord("http://www.site1.example/", 849000000)}, "\r\n");
    const std::string root = work / "out/OFFLINE/";

    CliProcess cli(home, {"uncache", "--cache", index, "--history", history, "--offline", work / "out"});
    // The page list appears in the new copy when copying starts.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!FileExists(work / "out/OFFLINE.restash-new/HTMLIST") && cli.Running() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(cli.Running()) << "the run ended before it could be interrupted: " << ReadBytes(home / "stderr.txt");
    // SIGTERM and SIGHUP act as Ctrl-C does; a second one does not cut the clean-up short.
    cli.Interrupt(SIGTERM);
    cli.Interrupt(SIGHUP);
    EXPECT_EQ(cli.Wait(), 130) << ReadBytes(home / "stderr.txt");

    // There was no copy before; the stopped run left none, nor its new folder.
    EXPECT_FALSE(std::filesystem::exists(root));
    EXPECT_FALSE(std::filesystem::exists(work / "out/OFFLINE.restash-new"));
    // The history file was replaced all the same (rewritten lines end in CR CR LF).
    EXPECT_EQ(ReadBytes(history).rfind(std::string(kHistoryHeader) + "\r\r\n", 0), 0u);
    EXPECT_FALSE(FileExists(history + ".restash-new"));
    EXPECT_EQ(ReadBytes(home / "stdout.txt"), "");
}

// Two quick signals (what timeout -s INT and an impatient user send) at
// random moments of a run: the offline folder holds either the copy it held
// before or the whole new one, and nothing else is left beside it.
TEST(Interrupt, TwoQuickSignalsAtAnyMomentLeaveTheOldCopyOrTheWholeNewOne) {
    TempDir home;
    TempDir work;
    const std::string oldCache = WriteLargeTextCache(work / "old", 200, "old");
    const std::string newCache = WriteLargeTextCache(work / "new", 1500, "new");
    const std::string out = work / "out", root = out + "/OFFLINE/";
    auto run = [&](const std::string& cache) {
        return std::vector<std::string>{"uncache", "--cache", cache, "--no-history", "--offline", out};
    };
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunToTheEnd(home, run(newCache)), 0) << ReadBytes(home / "stderr.txt");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    const CopyShape whole = ShapeOf(root);
    ASSERT_EQ(RunToTheEnd(home, run(oldCache)), 0);
    const CopyShape old = ShapeOf(root);
    ASSERT_NE(old, whole);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> moment(0, took.count());
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE("run " + std::to_string(i));
        CliProcess cli(home, run(newCache));
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        cli.Interrupt();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        cli.Interrupt();
        cli.Wait();
        const CopyShape now = ShapeOf(root);
        EXPECT_TRUE(now == old || now == whole) << now.files.size() << " files";
        EXPECT_FALSE(std::filesystem::exists(out + "/OFFLINE.restash-new"));
        EXPECT_FALSE(std::filesystem::exists(out + "/OFFLINE.restash-old"));
        if (now == whole) {
            ASSERT_EQ(RunToTheEnd(home, run(oldCache)), 0);
        }
    }
}

// Two runs into one offline folder at once: one waits for nobody and ends at
// once naming the other; one whole copy is left.
TEST(Interrupt, TwoRunsIntoOneOfflineFolderLeaveOneWholeCopy) {
    TempDir homeA, homeB;
    TempDir work;
    const std::string cache = WriteLargeTextCache(work / "cache", 1500);
    const std::string out = work / "out";
    const std::vector<std::string> args{"uncache", "--cache", cache, "--no-history", "--offline", out};
    CliProcess first(homeA, args);
    CliProcess second(homeB, args);
    const int a = first.Wait(), b = second.Wait();
    EXPECT_TRUE((a == 0 && (b == 0 || b == 1)) || (b == 0 && a == 1)) << a << " " << b;
    for (const auto& [code, home] : {std::pair{a, &homeA}, std::pair{b, &homeB}})
        if (code == 1) {
            EXPECT_NE(ReadBytes(*home / "stderr.txt").find("is in use by process"), std::string::npos);
        }
    TempDir home;
    ASSERT_EQ(RunToTheEnd(home, {"uncache", "--cache", cache, "--no-history", "--offline", work / "again"}), 0);
    EXPECT_EQ(ShapeOf(out + "/OFFLINE/"), ShapeOf(work / "again/OFFLINE/"));
    EXPECT_FALSE(std::filesystem::exists(out + "/OFFLINE.restash-new"));
}

TEST(Interrupt, CtrlCCancelsTheSearchAndTheResultsPageSaysSo) {
    TempDir home;
    TempDir work;
    // One page listed many times, without the text searched for: the search reads it over and over.
    const std::string root = work / "OFFLINE/";
    std::filesystem::create_directories(root);
    WriteBytes(root + "PAGE.HTM", "<HTML><BODY>" + std::string(8000, 'w') + "</BODY></HTML>");
    std::string list;
    for (int i = 0; i < 100000; ++i) list += "http://a.example/\r\nA page\r\nPAGE.HTM\r\n";
    WriteBytes(root + "HTMLIST", list);

    CliProcess cli(home, {"search", "--offline", work.path(), "sprocket"});
    // The results page is being written once a file besides the two appears.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (FilesIn(root).size() < 3 && cli.Running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(cli.Running()) << "the search ended before it could be interrupted";
    cli.Interrupt();
    EXPECT_EQ(cli.Wait(), 130) << ReadBytes(home / "stderr.txt");

    const std::string results = ReadBytes(root + "RESULTS.RSH");
    const std::string end = "<TR><TD>Not Found</TD><TR>\r\n<TR><TD>Search Aborted</TD><TR>\r\n"
                            "</TABLE></CENTER></BODY></HTML>\r\n";
    ASSERT_GE(results.size(), end.size());
    EXPECT_EQ(results.substr(results.size() - end.size()), end);
    EXPECT_EQ(FilesIn(root).size(), 3u);  // no temporary file left
    EXPECT_EQ(ReadBytes(home / "stdout.txt"), "");
}

}  // namespace
}  // namespace restash::test
