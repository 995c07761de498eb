#pragma once
// Starting another program on a file, not waited for. The result keeps the
// meaning the callers know: 32 and above is started, below 32 a failure code.
#include <string>

namespace restash {

enum LaunchResult : int {
    kLaunchFileNotFound = 2,
    kLaunchPathNotFound = 3,
    kLaunchAccessDenied = 5,
    kLaunchBadFormat = 11,
    kLaunchFailed = 31,
    kLaunchStarted = 33,
};

inline bool LaunchSucceeded(int result) { return result >= 32; }

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts program with file as its one argument. A program named without a
    // folder is looked for on the search path.
    virtual int Launch(const std::string& program, const std::string& file) = 0;
};

// posix_spawn in a session of its own, so the program outlives a closed
// terminal; a thread collects its exit status so it leaves no zombie.
class SpawnLauncher final : public ProgramLauncher {
public:
    int Launch(const std::string& program, const std::string& file) override;
};

}  // namespace restash
