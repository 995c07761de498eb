#pragma once
// Runs the built restash-cli with a home folder of its own and collects
// what it printed and its exit status.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"

namespace restash::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

struct CliEnvironment {
    std::vector<std::pair<std::string, std::string>> variables;  // set for the run
    std::string input = "/dev/null";                              // standard input
    std::string programDir;                                       // empty: the home folder
};

// Texts typed in UTF-8, as today's terminals send them.
inline CliEnvironment Utf8Locale() {
    CliEnvironment env;
    env.variables = {{"LC_ALL", "C.UTF-8"}};
    return env;
}

inline std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The program's home folder is home; standard input is empty unless env says.
inline CliResult RunCli(const TempDir& home, const std::vector<std::string>& args, const CliEnvironment& env = {}) {
    // uncache registers the index pages' type for the user: never in the real home.
    std::string command = "env " + ShellQuoted("XDG_DATA_HOME=" + home / "xdg");
    for (const auto& [name, value] : env.variables) command += " " + ShellQuoted(name + "=" + value);
    command += " " + ShellQuoted(RESTASH_CLI_PATH) + " --program-dir " +
               ShellQuoted(env.programDir.empty() ? home.path() : env.programDir);
    for (const auto& arg : args) command += " " + ShellQuoted(arg);
    command += " <" + ShellQuoted(env.input) + " >" + ShellQuoted(home / "stdout.txt") + " 2>" +
               ShellQuoted(home / "stderr.txt");
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadBytes(home / "stdout.txt");
    result.err = ReadBytes(home / "stderr.txt");
    return result;
}

// A copy of a bundled sample cache ("hash-cache", "text-cache") in folder,
// so that runs and deletions never touch samples/.
inline std::string CopySample(const std::string& sample, const std::string& folder) {
    std::filesystem::copy(std::string(RESTASH_SOURCE_DIR) + "/samples/" + sample, folder,
                          std::filesystem::copy_options::recursive);
    return folder;
}

// The names of the files (not folders) directly in folder.
inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.is_regular_file()) names.push_back(e.path().filename().string());
    return names;
}

}  // namespace restash::test
