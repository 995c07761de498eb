#pragma once
// The progress line on standard error: drawn only when standard error is a
// terminal, overprinted in place, and gone when the work ends. Ctrl-C asks
// the work to stop at its next "process messages" point.
#include <chrono>
#include <string>

#include "core/platform/progress.h"

namespace restash::cli {

// Catches the first Ctrl-C (a second one ends the program at once).
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
