#pragma once
// A progress sink for the windows: at each "process messages" point of the
// core it lets Qt deliver pending input and paint events, so the window
// stays responsive and a Stop or Cancel click is seen; the answer is whether
// the work may go on.
#include <functional>
#include <string_view>

#include "core/platform/progress.h"

namespace restash {

class EventLoopProgress : public ProgressSink {
public:
    bool ProcessMessages() override;

    // Set by the window's Stop or Cancel button; the core sees it at its
    // next "process messages" point.
    void RequestStop() { stopRequested_ = true; }
    void ClearStop() { stopRequested_ = false; }
    bool StopRequested() const { return stopRequested_; }

private:
    bool stopRequested_ = false;
};

// A sink that forwards the phase text, the gauge and the busy state to
// functions a window gives it.
class WindowProgress final : public EventLoopProgress {
public:
    std::function<void(std::string_view)> onPhase;
    std::function<void(int)> onGauge;
    std::function<void(bool, std::string_view)> onBusy;

    void Phase(std::string_view text) override;
    void Gauge(int percent) override;
    void Busy(bool on, std::string_view caption) override;
};

}  // namespace restash
