#pragma once
// Runs the built restash-cli with a home folder of its own and collects
// what it printed and its exit status.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace restash::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The program's home folder is home; standard input is empty.
inline CliResult RunCli(const TempDir& home, const std::vector<std::string>& args) {
    std::string command = ShellQuoted(RESTASH_CLI_PATH) + " --program-dir " + ShellQuoted(home.path());
    for (const auto& arg : args) command += " " + ShellQuoted(arg);
    command += " </dev/null >" + ShellQuoted(home / "stdout.txt") + " 2>" + ShellQuoted(home / "stderr.txt");
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadBytes(home / "stdout.txt");
    result.err = ReadBytes(home / "stderr.txt");
    return result;
}

}  // namespace restash::test
