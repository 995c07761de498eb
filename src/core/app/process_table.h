#pragma once
// Which programs are running: the browser check asks whether Netscape is.
#include <sys/types.h>
#include <unistd.h>

#include <string_view>

namespace restash {

class ProcessTable {
public:
    virtual ~ProcessTable() = default;
    // True when a process other than this one runs a program whose file name
    // (without its folder) equals exeFileName without regard to ASCII case.
    virtual bool IsRunning(std::string_view exeFileName) = 0;
};

// The processes of this machine, read from /proc. A process counts by the
// file name of its executable or of its argv[0] (the latter also covers
// processes of other users, whose executable link cannot be read).
class ProcProcessTable final : public ProcessTable {
public:
    explicit ProcProcessTable(pid_t excluded = ::getpid());
    bool IsRunning(std::string_view exeFileName) override;

private:
    pid_t excluded_;
};

}  // namespace restash
