#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace restash::test {
namespace {

class DeleteHashSample : public ::testing::Test {
protected:
    void SetUp() override { index = CopySample("hash-cache", work / "cache") + "/FAT.DB"; }

    // Cache file names by domain, as list reads them.
    std::map<std::string, std::set<std::string>> FilesByDomain() {
        const CliResult r = RunCli(home, {"list", "--cache", index, "--format", "json"});
        EXPECT_EQ(r.status, 0) << r.err;
        std::map<std::string, std::set<std::string>> files;
        for (const auto& e : nlohmann::json::parse(r.out)) files[e["domain"]].insert(e["file"]);
        return files;
    }

    TempDir home;
    TempDir work;
    std::string index;
};

TEST_F(DeleteHashSample, RemovesTheChosenSiteAndListNoLongerShowsIt) {
    const auto before = FilesByDomain();
    ASSERT_EQ(before.at("home.netpages.example").size(), 4u);

    const CliResult r = RunCli(home, {"delete", "--cache", index, "--domain", "HOME.netpages.example", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Deleted 4 cache files.\n");
    EXPECT_EQ(r.err, "");
    for (const std::string& file : before.at("home.netpages.example"))
        EXPECT_FALSE(FileExists(work / "cache/" + file)) << file;

    auto after = FilesByDomain();
    EXPECT_EQ(after.count("home.netpages.example"), 0u);
    auto expected = before;
    expected.erase("home.netpages.example");
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(FileExists(home / "TEMP.FAT"));
    EXPECT_FALSE(FileExists(home / "RESTASH.INI"));
}

TEST_F(DeleteHashSample, YesDeletesTheWholeCacheWithoutAsking) {
    const CliResult r = RunCli(home, {"delete", "--cache", index, "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Deleted 25 cache files.\n");
    EXPECT_EQ(FilesIn(work / "cache"), std::vector<std::string>{"FAT.DB"});
}

TEST_F(DeleteHashSample, RefusesWithoutATerminalOrYes) {
    const std::size_t files = FilesIn(work / "cache").size();
    CliResult r = RunCli(home, {"delete", "--cache", index, "--domain", "www.photohost.example"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
    EXPECT_EQ(FilesIn(work / "cache").size(), files);

    // Only "other" files of a site that has none: nothing to delete.
    r = RunCli(home, {"delete", "--cache", index, "--domain", "www.photohost.example", "--types", "other", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "restash-cli: nothing to delete: no file of the cache matches the selection; the cache's entries date "
              "on 1997-06-13 (UTC)\n");
    EXPECT_EQ(FilesIn(work / "cache").size(), files);
}

// Runs delete on a terminal, answers the question with answer, and returns
// the exit status and what the terminal showed.
CliResult DeleteOnTerminal(const TempDir& home, const std::string& index, const std::string& answer) {
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        execl(RESTASH_CLI_PATH, RESTASH_CLI_PATH, "--program-dir", home.path().c_str(), "delete", "--cache",
              index.c_str(), "--domain", "www.photohost.example", static_cast<char*>(nullptr));
        _exit(127);
    }
    CliResult result;
    bool answered = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (std::chrono::steady_clock::now() > deadline || poll(&p, 1, 100) < 0) break;
        if (!(p.revents & (POLLIN | POLLHUP))) continue;
        char buf[512];
        const ssize_t n = read(master, buf, sizeof buf);
        if (n <= 0) break;  // the program ended and closed the terminal
        result.out.append(buf, static_cast<std::size_t>(n));
        if (!answered && result.out.find("[y/N] ") != std::string::npos) {
            const std::string line = answer + "\n";
            EXPECT_EQ(write(master, line.data(), line.size()), static_cast<ssize_t>(line.size()));
            answered = true;
        }
    }
    int raw = 0;
    waitpid(pid, &raw, 0);
    close(master);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

TEST_F(DeleteHashSample, AsksOnATerminal) {
    const std::size_t files = FilesIn(work / "cache").size();
    CliResult r = DeleteOnTerminal(home, index, "n");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Delete 3 cache files from " + work / "cache/? [y/N] "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("restash-cli: nothing deleted"), std::string::npos) << r.out;
    EXPECT_EQ(FilesIn(work / "cache").size(), files);

    r = DeleteOnTerminal(home, index, "y");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Deleted 3 cache files."), std::string::npos) << r.out;
    EXPECT_EQ(FilesIn(work / "cache").size(), files - 3);
}

TEST(DeleteTextSample, DryRunNamesTheFilesAndLinesAndDeletesNothing) {
    TempDir home;
    TempDir work;
    const std::string cache = CopySample("text-cache", work / "cache");
    const std::string before = ReadBytes(cache + "/FAT");
    const std::size_t files = FilesIn(cache).size();
    const CliResult r = RunCli(home, {"delete", "--cache", cache + "/FAT", "--domain", "news.dailyplanet.example",
                                      "--types", "text,media,other", "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::size_t deletes = 0, drops = 0;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        deletes += line.rfind("delete  " + cache + "/M", 0) == 0 ? 1 : 0;
        drops += line.rfind("drop    line ", 0) == 0 && line.find("dailyplanet") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(deletes, 3u) << r.out;
    EXPECT_EQ(drops, 3u) << r.out;
    EXPECT_NE(r.out.find("Would delete 3 cache files and drop 3 index lines; nothing was changed.\n"),
              std::string::npos) << r.out;
    EXPECT_EQ(ReadBytes(cache + "/FAT"), before);
    EXPECT_EQ(FilesIn(cache).size(), files);
}

TEST(DeleteTextSample, RewritesTheIndexWithoutTheSitesLines) {
    TempDir home;
    TempDir work;
    const std::string cache = CopySample("text-cache", work / "cache");
    const std::string before = ReadBytes(cache + "/FAT");
    const CliResult r = RunCli(home, {"delete", "--cache", cache + "/FAT", "--domain", "news.dailyplanet.example",
                                      "--types", "text,media,other", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Deleted 3 cache files and 3 index lines.\n");
    const std::string after = ReadBytes(cache + "/FAT");
    EXPECT_EQ(after.rfind("MCOM-Cache-file-allocation-table-format-1\r\r\n", 0), 0u);
    EXPECT_EQ(after.find("dailyplanet"), std::string::npos);
    EXPECT_NE(before.find("dailyplanet"), std::string::npos);
    EXPECT_NE(after.find("http://www.oakfield.example/hours.html"), std::string::npos);
    EXPECT_FALSE(FileExists(home / "TEMP.FAT"));
}

}  // namespace
}  // namespace restash::test
