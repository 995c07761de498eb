#pragma once
// The progress sink: how long work in the core talks to whichever front end
// drives it. The core calls ProcessMessages() exactly where the desktop
// program lets its window deliver pending input; the answer says whether to
// go on (false carries the Stop button, Cancel and Ctrl-C alike).
#include <string_view>

namespace restash {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // The phase text shown above the gauge ("Copying Files"); empty clears it.
    virtual void Phase(std::string_view /*text*/) {}
    // The gauge, 0 to 100.
    virtual void Gauge(int /*percent*/) {}
    // A "process messages" point. Returns false when the user asked to stop.
    virtual bool ProcessMessages() { return true; }
    // The busy state of a window while it works (the selection window's
    // message panel with its caption; an hourglass cursor).
    virtual void Busy(bool /*on*/, std::string_view /*caption*/) {}
};

// How work that listens for stop requests ended: it ran to its end, or it
// ended early because ProcessMessages() said to stop. Every reader and writer
// that can be stopped reports it this way.
enum class Ending { Finished, Stopped };

// For callers that want no progress at all.
class NullProgress final : public ProgressSink {};

}  // namespace restash
