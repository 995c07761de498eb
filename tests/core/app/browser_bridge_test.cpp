#include "core/app/browser_bridge.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/app/rsh_mime_type.h"
#include "core/platform/text.h"
#include "tests/core/app/scoped_env.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"


namespace restash {
namespace {

using test::ReadBytes;
using test::RecordingMessages;
using test::ScopedEnv;
using test::TempDir;
using test::WriteBytes;

class FakeProcesses final : public ProcessTable {
public:
    explicit FakeProcesses(bool running) : running_(running) {}
    std::optional<pid_t> HolderOf(const std::string& path) override {
        asked.push_back(path);
        return running_ ? std::optional<pid_t>(4242) : std::nullopt;
    }
    std::vector<std::string> asked;

private:
    bool running_;
};

class FakeLauncher final : public ProgramLauncher {
public:
    explicit FakeLauncher(std::vector<int> results) : results_(std::move(results)) {}
    int Launch(const std::string& program, const std::string& file) override {
        calls.push_back({program, file});
        const int result = results_.front();
        if (results_.size() > 1) results_.erase(results_.begin());
        return result;
    }
    struct Call {
        std::string program, file;
    };
    std::vector<Call> calls;

private:
    std::vector<int> results_;
};

Settings SampleSettings(const std::string& programDir) {
    Settings s;
    s.ProgramDir = programDir;
    s.NetscapeDir = "/opt/ns/";
    s.NetscapeExe = "netscape";
    s.OfflineDir = "/data/web/OFFLINE/";
    return s;
}

const std::string kInstructions =
    "To view the Restash index in Netscape:\r\n\r\n1. Select 'Open File...' from the Netscape 'File' menu\r\n"
    "2. Select the file: \r\n\r\n      ";

TEST(BrowserBridge, RunningNetscapeIsReportedOnce) {
    Settings s = SampleSettings("/p/");
    s.CacheDir = "/c/";
    s.FatName = "FAT.DB";
    RecordingMessages messages;
    FakeProcesses idle(false);
    EXPECT_FALSE(IsNetscapeRunning(s, idle, messages));
    EXPECT_TRUE(messages.shown.empty());
    // What is asked is whether the cache index is open, not whether a
    // program of the browser's name runs.
    EXPECT_EQ(idle.asked, std::vector<std::string>{"/c/FAT.DB"});

    FakeProcesses running(true);
    EXPECT_TRUE(IsNetscapeRunning(s, running, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages.shown[0].text, "Please shut down Netscape\r\nbefore continuing.");
}

TEST(BrowserBridge, OpenIndexPageStartsNetscapeOnTheIndex) {
    TempDir dir;
    ScopedEnv data("XDG_DATA_HOME", dir / "data");
    ScopedEnv path("PATH", "");  // keeps update-mime-database out of the way
    const Settings s = SampleSettings(dir.path());
    RecordingMessages messages;
    FakeLauncher launcher({kLaunchStarted});
    OpenIndexPage(s, launcher, messages);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].program, "/opt/ns/netscape");
    EXPECT_EQ(launcher.calls[0].file, "/data/web/OFFLINE/HTMINDEX.HTM");
    EXPECT_TRUE(messages.shown.empty());
    // The results page type is registered where the desktop looks for it,
    // with the package the project ships.
    EXPECT_EQ(ReadBytes(dir / "data/mime/packages/restash-rsh.xml"), kRshMimePackage);
    EXPECT_EQ(ReadBytes(std::string(RESTASH_SOURCE_DIR) + "/assets/restash-rsh.xml"), kRshMimePackage);
}

TEST(BrowserBridge, AFailedStartShowsTheCodeThenTheInstructionsUncut) {
    TempDir dir;
    ScopedEnv data("XDG_DATA_HOME", dir / "data");
    ScopedEnv path("PATH", "");
    Settings s = SampleSettings(dir.path());
    s.OfflineDir = "/" + std::string(200, 'w') + "/OFFLINE/";
    RecordingMessages messages;
    FakeLauncher launcher({kLaunchFileNotFound});
    OpenIndexPage(s, launcher, messages);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.shown[0].text, "Error 2 while loading Netscape.");
    EXPECT_EQ(messages.shown[1].kind, MessageKind::Information);
    EXPECT_EQ(messages.shown[1].text, kInstructions + s.OfflineDir + "HTMINDEX.HTM");
}

TEST(BrowserBridge, OfflineAndHelpAddresses) {
    TempDir dir;
    Settings s = SampleSettings(dir.path());
    EXPECT_EQ(OfflineURL(s), "file:///data/web/OFFLINE/");
    EXPECT_EQ(FileURL("/a b/#c%/x.html"), "file:///a%20b/%23c%25/x.html");

    WriteBytes(dir / "restash-help.html", "<html></html>");
    FakeLauncher works({kLaunchStarted});
    EXPECT_TRUE(OpenHelp(s, works, 38));
    ASSERT_EQ(works.calls.size(), 1u);
    EXPECT_EQ(works.calls[0].program, "/opt/ns/netscape");
    EXPECT_EQ(works.calls[0].file, FileURL(dir / "restash-help.html") + "#context-38");

    // The configured program fails: the desktop's browser is tried next.
    FakeLauncher fallback({kLaunchFileNotFound, kLaunchStarted});
    EXPECT_TRUE(OpenHelp(s, fallback, 12));
    ASSERT_EQ(fallback.calls.size(), 2u);
    EXPECT_EQ(fallback.calls[1].program, "xdg-open");
    FakeLauncher none({kLaunchFileNotFound});
    EXPECT_FALSE(OpenHelp(s, none, 12));
}

// A child that holds path open until it is killed; it has opened the file
// once the constructor returns (it says so through a pipe), so nothing races.
struct ChildHoldingFile {
    pid_t pid = -1;
    explicit ChildHoldingFile(const std::string& path) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char byte = fd >= 0 ? '1' : '0';
            if (::write(ready[1], &byte, 1) != 1) ::_exit(1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = '0';
        if (::read(ready[0], &byte, 1) != 1 || byte != '1') Stop();
        ::close(ready[0]);
    }
    void Stop() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~ChildHoldingFile() { Stop(); }
};

TEST(ProcessTable, FindsTheProcessThatHoldsTheFileOpenByTheFilesIdentity) {
    TempDir dir;
    const std::string index = dir / "FAT.DB";
    WriteBytes(index, "index");
    WriteBytes(dir / "OTHER.DB", "other");
    std::filesystem::create_symlink(index, dir / "link.db");
    EXPECT_FALSE(ProcProcessTable().HolderOf(index)) << "nobody has the file open yet";

    ChildHoldingFile child(index);
    ASSERT_GT(child.pid, 0) << "the child could not open the file";
    EXPECT_EQ(ProcProcessTable().HolderOf(index), child.pid);
    EXPECT_EQ(ProcProcessTable().HolderOf(dir / "link.db"), child.pid) << "another name of the same file";
    EXPECT_FALSE(ProcProcessTable().HolderOf(dir / "OTHER.DB"));
    EXPECT_FALSE(ProcProcessTable(child.pid).HolderOf(index)) << "the excluded process";
    EXPECT_FALSE(ProcProcessTable().HolderOf(dir / "missing.db"));
    EXPECT_FALSE(ProcProcessTable().HolderOf(""));

    child.Stop();
    EXPECT_FALSE(ProcProcessTable().HolderOf(index));
}

TEST(SpawnLauncher, ResultCodes) {
    TempDir dir;
    SpawnLauncher launcher;
    EXPECT_GE(launcher.Launch("/bin/true", "/some/file"), 32);
    EXPECT_GE(launcher.Launch("true", "x"), 32);  // found on the search path
    EXPECT_EQ(launcher.Launch(dir / "missing", "x"), 2);
    EXPECT_EQ(launcher.Launch(dir / "no-folder/prog", "x"), 3);
    EXPECT_EQ(launcher.Launch("", "x"), 2);

    WriteBytes(dir / "plain", "#!/bin/sh\n");
    ::chmod((dir / "plain").c_str(), 0644);
    EXPECT_EQ(launcher.Launch(dir / "plain", "x"), 5);
    WriteBytes(dir / "junk", "\x01\x02 not a program");
    ::chmod((dir / "junk").c_str(), 0755);
    EXPECT_EQ(launcher.Launch(dir / "junk", "x"), 11);
}

}  // namespace
}  // namespace restash
