#pragma once
// The progress line on standard error: drawn only when standard error is a
// terminal, overprinted in place, and gone when the work ends.
#include <chrono>
#include <string>

#include "core/platform/progress.h"

namespace restash::cli {

// Ctrl-C, SIGTERM and SIGHUP ask the work to stop at its next "process
// messages" point; the work then ends in order (a stopped run removes its
// new copy, an export its temporary files), whatever further signals come.
void InstallInterruptHandler();
bool InterruptRequested();

class TerminalProgress final : public ProgressSink {
public:
    explicit TerminalProgress(bool quiet);

    void Phase(std::string_view text) override;
    void Gauge(int percent) override;
    bool ProcessMessages() override;
    void Busy(bool on, std::string_view caption) override;

    // Removes the line, so that a message can be printed in its place.
    void Clear();

private:
    void Draw();

    bool enabled_;
    bool shown_ = false;
    std::string text_;
    int percent_ = -1;
    unsigned spin_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace restash::cli
