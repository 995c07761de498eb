#include "core/app/rsh_mime_type.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/app/user_dirs.h"
#include "core/platform/error.h"
#include "core/platform/file_system.h"

extern char** environ;

namespace restash {

const char* const kRshMimePackage =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <mime-type type=\"text/html\">\n"
    "    <glob pattern=\"*.rsh\"/>\n"
    "    <glob pattern=\"*.RSH\" case-sensitive=\"true\"/>\n"
    "    <glob pattern=\"*.rsi\"/>\n"
    "    <glob pattern=\"*.RSI\" case-sensitive=\"true\"/>\n"
    "  </mime-type>\n"
    "</mime-info>\n";

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs update-mime-database on folder with its output thrown away, and waits.
void UpdateMimeDatabase(const std::string& folder) {
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return;
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char program[] = "update-mime-database";
    char* argv[] = {program, const_cast<char*>(folder.c_str()), nullptr};
    pid_t pid = 0;
    const int err = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

void RegisterRshType() {
    const std::string mimeFolder = DataHome() + "/mime";
    const std::string package = mimeFolder + "/packages/restash-rsh.xml";
    bool changed = false;
    if (ReadAll(package) != kRshMimePackage) {
        try {
            FileSystem& fs = RealFileSystem();
            fs.CreateDirectories(mimeFolder + "/packages");
            ReplaceFile(fs, package, [](OutputFile& out) { out.Write(kRshMimePackage); });
            changed = true;
        } catch (const Error&) {
            return;
        }
    }
    std::error_code ec;
    if (changed || !std::filesystem::exists(mimeFolder + "/globs2", ec)) UpdateMimeDatabase(mimeFolder);
}

}  // namespace restash
