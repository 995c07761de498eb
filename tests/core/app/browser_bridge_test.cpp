#include "core/app/browser_bridge.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/app/rsh_mime_type.h"
#include "core/platform/text.h"
#include "tests/core/app/scoped_env.h"
#include "tests/support/recorders.h"
#include "tests/support/temp_dir.h"

extern char** environ;

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
    bool IsRunning(std::string_view name) override {
        asked.emplace_back(name);
        return running_;
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
    const Settings s = SampleSettings("/p/");
    RecordingMessages messages;
    FakeProcesses idle(false);
    EXPECT_FALSE(IsNetscapeRunning(s, idle, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(idle.asked, std::vector<std::string>{"netscape"});

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

TEST(ProcessTable, FindsARunningProgramByNameWithoutRegardToCase) {
    TempDir dir;
    // A copy of sleep under a name no other process has.
    const std::string name = "rsh-probe-" + std::to_string(::getpid());
    const std::string program = dir / name;
    std::filesystem::copy_file("/bin/sleep", program);
    char arg0[] = "sleeper", arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);

    // The new process finishes setting up its arguments a moment after
    // posix_spawn has returned.
    auto runningSoon = [](const std::string& n) {
        for (int i = 0; i < 200; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            if (ProcProcessTable().IsRunning(n)) return true;
        return false;
    };
    EXPECT_TRUE(runningSoon(ToUpperAscii(name)));
    EXPECT_TRUE(runningSoon("SLEEPER"));  // by argv[0]
    EXPECT_FALSE(ProcProcessTable(pid).IsRunning(name));  // the excluded process
    EXPECT_FALSE(ProcProcessTable().IsRunning(name + "x"));
    EXPECT_FALSE(ProcProcessTable().IsRunning(""));

    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_FALSE(ProcProcessTable().IsRunning(name));
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
