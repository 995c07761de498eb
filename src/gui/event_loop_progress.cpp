#include "gui/event_loop_progress.h"

#include <QCoreApplication>

namespace restash {

bool EventLoopProgress::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !stopRequested_;
}

void WindowProgress::Phase(std::string_view text) {
    if (onPhase) onPhase(text);
    // The phase text is shown at once.
    ProcessMessages();
}

void WindowProgress::Gauge(int percent) {
    if (onGauge) onGauge(percent);
}

void WindowProgress::Busy(bool on, std::string_view caption) {
    if (onBusy) onBusy(on, caption);
}

}  // namespace restash
