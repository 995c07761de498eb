#pragma once
// Which processes hold a file open: the browser check asks whether a browser
// is writing the cache right now, which is true while a process other than
// Restash has the cache index open.
#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace restash {

class ProcessTable {
public:
    virtual ~ProcessTable() = default;
    // A process other than Restash that has the file at path open, by the
    // file's identity (so a link or another name of it counts too); nothing
    // when there is none or the file is not there.
    virtual std::optional<pid_t> HolderOf(const std::string& path) = 0;
};

// The processes of this machine, read from /proc: every open file of a
// process is a link in /proc/PID/fd, which a process of the same user can
// read. This process and the Restash programs (restash, restash-cli) do not
// count.
class ProcProcessTable final : public ProcessTable {
public:
    explicit ProcProcessTable(pid_t excluded = ::getpid());
    std::optional<pid_t> HolderOf(const std::string& path) override;

private:
    pid_t excluded_;
};

}  // namespace restash
