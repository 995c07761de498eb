// What Restash promises about the user's files, checked through the program
// as a user runs it, on caches and folders made here: the cache is never
// written by a command that reads it, a run never costs the previous offline
// copy or the history, and a file that is no cache index, or a damaged one,
// is named as such.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>

#include "tests/cli/cli_runner.h"

namespace restash::test {
namespace {

namespace fs = std::filesystem;

// Every file below folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) files[fs::relative(it->path(), folder).string()] = ReadBytes(it->path());
    return files;
}

std::size_t Lines(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

// A tmpfs of size bytes mounted on folder for the test's life; skipped where
// the test cannot mount (not root, no permission in a container).
class Tmpfs {
public:
    Tmpfs(const std::string& folder, const std::string& size) : folder_(folder) {
        fs::create_directories(folder);
        if (::geteuid() != 0) return;
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~Tmpfs() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    // The bytes in use, and a new size for the mount.
    std::uint64_t Used() const {
        struct statvfs st {};
        if (::statvfs(folder_.c_str(), &st) != 0) return 0;
        return std::uint64_t{st.f_blocks - st.f_bfree} * st.f_frsize;
    }
    bool Resize(std::uint64_t bytes) const {
        const std::string size = "size=" + std::to_string(bytes);
        return ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT, size.c_str()) == 0;
    }

private:
    std::string folder_;
    bool mounted_ = false;
};

class UserFiles : public ::testing::Test {
protected:
    std::string HashCache() { return CopySample("hash-cache", work / "cache") + "/FAT.DB"; }
    std::string TextCache() { return CopySample("text-cache", work / "cache") + "/FAT"; }
    CliResult Run(const std::vector<std::string>& args) { return RunCli(home, args); }

    TempDir home;
    TempDir work;
};

// Rule: no output lands on the cache index, in the cache folder, or around it.
TEST_F(UserFiles, OutputsOnOrAroundTheCacheAreRefusedAndTheCacheIsUnchanged) {
    const std::string index = HashCache();
    const std::string folder = work / "cache";
    fs::create_directory_symlink(folder, work / "link");
    const auto before = Snapshot(folder);
    struct Case {
        std::vector<std::string> args;
        std::string output;  // the path the error names besides the cache's
    };
    const std::vector<Case> cases{
        {{"export", "--cache", index, "--warc", index}, index},
        {{"export", "--cache", index, "--warc", work / "a.warc.gz", "--cdxj", folder + "/M0A1B2C3.HTM"},
         folder + "/M0A1B2C3.HTM"},
        {{"export", "--cache", index, "--warc", work / "link/new.warc.gz"}, folder + "/new.warc.gz"},
        {{"uncache", "--cache", index, "--offline", folder}, folder + "/OFFLINE"},
        {{"uncache", "--cache", index, "--offline", work / "link/sub"}, folder + "/sub/OFFLINE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.output);
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.output), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(folder), std::string::npos) << r.err;
        EXPECT_EQ(Snapshot(folder), before);
    }
    // A cache folder that happens to be called OFFLINE, inside the folder named.
    fs::create_directories(work / "T");
    fs::rename(folder, work / "T/OFFLINE");
    const CliResult r = Run({"uncache", "--cache", work / "T/OFFLINE/FAT.DB", "--offline", work / "T"});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(Snapshot(work / "T/OFFLINE"), before);
}

// An export into a folder that does not exist names the output the user
// gave, not the temporary file written first, and leaves none behind.
TEST_F(UserFiles, AnExportIntoAMissingFolderNamesTheOutput) {
    const std::string index = HashCache();
    const CliResult r = Run({"export", "--cache", index, "--warc", work / "nowhere/a.warc.gz"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(work / "nowhere/a.warc.gz: "), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(".restash-new"), std::string::npos) << r.err;
}

// Rule: a run that cannot finish keeps the previous copy: here the disk holds
// one copy but not two.
TEST_F(UserFiles, ARunThatFillsTheDiskKeepsThePreviousCopy) {
    const std::string index = HashCache();
    Tmpfs disk(work / "disk", "4m");
    if (!disk.mounted()) GTEST_SKIP() << "needs root to mount a small tmpfs";
    const std::vector<std::string> args{"uncache", "--cache", index, "--offline", work / "disk"};
    ASSERT_EQ(Run(args).status, 0);
    // Room for the copy and half another.
    ASSERT_TRUE(disk.Resize(disk.Used() * 3 / 2));
    const auto before = Snapshot(work / "disk/OFFLINE");
    const CliResult r = Run(args);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("does not fit beside the previous one"), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(work / "disk/OFFLINE"), before);
    EXPECT_FALSE(fs::exists(work / "disk/OFFLINE.restash-new"));
}

// Rule: one run per offline folder; the lock of a process that died never blocks.
TEST_F(UserFiles, AFolderInUseIsRefusedNamingTheProcessAndAStaleLockNeverBlocks) {
    const std::string index = HashCache();
    fs::create_directories(work / "out");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const int fd = open((work / "out/.restash-lock").c_str(), O_RDWR | O_CREAT, 0644);
        const std::string pid = std::to_string(getpid()) + "\n";
        if (fd < 0 || flock(fd, LOCK_EX) != 0 || write(fd, pid.data(), pid.size()) < 0) _exit(1);
        if (write(ready[1], "1", 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const CliResult busy = Run({"uncache", "--cache", index, "--offline", work / "out"});
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find(work / "out/OFFLINE is in use by process " + std::to_string(holder)), std::string::npos)
        << busy.err;
    EXPECT_FALSE(fs::exists(work / "out/OFFLINE"));
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    // The lock file stays, with the dead process's number in it.
    const CliResult after = Run({"uncache", "--cache", index, "--offline", work / "out"});
    EXPECT_EQ(after.status, 0) << after.err;
}

// Rule: the history is replaced beside itself, on any file system, or left as
// it was with a warning naming it; --no-history leaves it alone.
TEST_F(UserFiles, TheHistoryIsUpdatedOnAnotherFileSystemOrLeftAsItWasWithAWarning) {
    const std::string index = TextCache();
    const std::string history = work / "cache/NETSCAPE.HST";
    const std::string old = ReadBytes(history);
    auto uncache = [&](const std::string& hist, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"uncache", "--cache", index, "--offline", work / "out"};
        if (!hist.empty()) args.insert(args.end(), {"--history", hist});
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args);
    };
    // Read-only: the copy is made, the history stays and is named.
    fs::permissions(history, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    CliResult r = uncache(history);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("restash-cli: warning: the history file " + history + " was left as it was"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(history), old);
    EXPECT_TRUE(FileExists(work / "out/OFFLINE/HTMLIST"));
    fs::permissions(history, fs::perms::owner_write, fs::perm_options::add);

    r = uncache("", {"--no-history"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("history"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(history), old);

    Tmpfs other(work / "image", "1m");
    if (!other.mounted()) GTEST_SKIP() << "needs root to mount a tmpfs for the history";
    fs::copy_file(history, work / "image/NETSCAPE.HST");
    r = uncache(work / "image/NETSCAPE.HST");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string updated = ReadBytes(work / "image/NETSCAPE.HST");
    EXPECT_NE(updated.find("file://" + work / "out/OFFLINE/"), std::string::npos) << updated.substr(0, 200);
    EXPECT_TRUE(FileExists(work / "out/OFFLINE/HTMINDEX.HTM"));
    EXPECT_FALSE(FileExists(work / "image/NETSCAPE.HST.restash-new"));
}

// Rule: a file that is no cache index is refused by name; a damaged one is
// read as far as it can be, with one warning; a bad line costs that line.
TEST_F(UserFiles, ForeignFilesAreRefusedAndDamagedIndexesListWhatTheyCan) {
    std::string random(3000, '\0');
    std::mt19937 bytes(7);
    for (char& c : random) c = static_cast<char>(bytes() & 0xFF);
    random[0] = '\x01';  // no magic number by chance
    const std::map<std::string, std::string> foreign{
        {"random.db", random}, {"passwd", "root:x:0:0:root:/root:/bin/bash\n"}, {"empty.db", ""}};
    for (const auto& [name, content] : foreign) {
        WriteBytes(work / name, content);
        const CliResult r = Run({"list", "--cache", work / name});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(work / name + " is not a Netscape cache index ("), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << name;
    }

    const std::string index = HashCache();
    const std::string clean = ReadBytes(index);
    const std::size_t all = Lines(Run({"list", "--cache", index}).out);
    std::string header = clean;
    header.replace(12, 4, "\xFF\xFF\xFF\xFF");  // the page size
    std::map<std::string, std::string> damaged{{"header", header}, {"truncated", clean.substr(0, clean.size() - 5000)}};
    for (const auto& [what, content] : damaged) {
        SCOPED_TRACE(what);
        WriteBytes(index, content);
        const CliResult r = Run({"list", "--cache", index});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find(index + " is damaged ("), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("entries could be read, some may be missing"), std::string::npos) << r.err;
        // The warning once, and the line naming the cache's format.
        EXPECT_EQ(Lines(r.err), 2u) << r.err;
        EXPECT_NE(r.err.find("Netscape hash index of Netscape 2-4\n"), std::string::npos) << r.err;
        EXPECT_GT(Lines(r.out), 1u);
        EXPECT_LE(Lines(r.out), all);
    }

    TempDir text;
    const std::string fat = CopySample("text-cache", text / "cache") + "/FAT";
    const std::size_t textAll = Lines(Run({"list", "--cache", fat}).out);
    std::string lines = ReadBytes(fat);
    lines.replace(lines.find("852100194"), 9, "85x100194");  // the stamp of line 3
    WriteBytes(fat, lines);
    const CliResult r = Run({"list", "--cache", fat});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out), textAll - 1);
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 line was skipped"), std::string::npos) << r.err;
}

// Rule: the manifest lists every chosen entry, those whose file is gone too.
TEST_F(UserFiles, TheManifestListsAnEntryWhoseCacheFileIsGone) {
    const std::string index = HashCache();
    fs::remove(work / "cache/M0A1B5B4.HTM");
    const CliResult r = Run({"export", "--cache", index, "--warc", work / "a.warc.gz", "--manifest",
                             work / "m.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string manifest = ReadBytes(work / "m.csv");
    const std::size_t row = manifest.find("M0A1B5B4.HTM");
    ASSERT_NE(row, std::string::npos) << manifest;
    const std::string line = manifest.substr(row, manifest.find("\r\n", row) - row);
    EXPECT_NE(line.find("false,false"), std::string::npos) << line;
}

}  // namespace
}  // namespace restash::test
