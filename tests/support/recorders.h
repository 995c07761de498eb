#pragma once
// Stand-ins for the front ends: a Messages that records every box and answers
// from a script, and a ProgressSink that records what it was told and can ask
// to stop at a chosen "process messages" point.
#include <deque>
#include <string>
#include <vector>

#include "core/platform/messages.h"
#include "core/platform/progress.h"

namespace restash::test {

struct ShownMessage {
    MessageKind kind;
    std::string text;
    Buttons buttons;
    int helpContext;
};

class RecordingMessages final : public Messages {
public:
    // The answers to give, in order; when none is left a question fails the
    // test (an unanswered modal box) and answers Cancel.
    void Answer(restash::Answer a) { answers_.push_back(a); }
    restash::Answer Show(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) override;

    std::vector<ShownMessage> shown;
    std::vector<std::string> Texts() const;

private:
    std::deque<restash::Answer> answers_;
};

class RecordingProgress final : public ProgressSink {
public:
    void Phase(std::string_view text) override { phases.emplace_back(text); }
    void Gauge(int percent) override { gauges.push_back(percent); }
    bool ProcessMessages() override;
    void Busy(bool on, std::string_view caption) override {
        busy.push_back({on, std::string(caption)});
    }

    // Ask to stop at the n-th "process messages" point (1-based); 0: never.
    long stopAt = 0;
    long processCalls = 0;
    std::vector<std::string> phases;
    std::vector<int> gauges;
    struct BusyChange {
        bool on;
        std::string caption;
    };
    std::vector<BusyChange> busy;
};

}  // namespace restash::test
