#include "cli/terminal_progress.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/words.h"

namespace restash::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

// Every signal only asks the work to stop; the handler stays, so a second
// Ctrl-C cannot cut the clean-up short and leave half-written files.
extern "C" void OnInterrupt(int) { interrupted = 1; }

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

void InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool InterruptRequested() { return interrupted != 0; }

TerminalProgress::TerminalProgress(bool quiet) : enabled_(!quiet && ::isatty(STDERR_FILENO) == 1) {}

void TerminalProgress::Phase(std::string_view text) {
    text_ = std::string(PhaseWords(text));
    percent_ = -1;
    Draw();
}

void TerminalProgress::Gauge(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    Draw();
}

bool TerminalProgress::ProcessMessages() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDraw_ >= kRedrawInterval) {
        ++spin_;
        Draw();
    }
    return !InterruptRequested();
}

void TerminalProgress::Busy(bool on, std::string_view caption) {
    if (on) {
        Phase(caption);
    } else {
        text_.clear();
        Clear();
    }
}

void TerminalProgress::Clear() {
    if (!enabled_ || !shown_) return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

void TerminalProgress::Draw() {
    if (!enabled_ || text_.empty()) return;
    static constexpr char kSpinner[] = {'|', '/', '-', '\\'};
    lastDraw_ = std::chrono::steady_clock::now();
    if (percent_ >= 0)
        std::fprintf(stderr, "\r%s %3d%%\x1b[K", text_.c_str(), percent_);
    else
        std::fprintf(stderr, "\r%s %c\x1b[K", text_.c_str(), kSpinner[spin_ % 4]);
    std::fflush(stderr);
    shown_ = true;
}

}  // namespace restash::cli
