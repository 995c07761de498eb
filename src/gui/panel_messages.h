#pragma once
// Message boxes over a window whose controls are locked while it works. A
// box shown meanwhile would sit on a greyed-out window; instead the controls
// show as they are while the box is up (the box is modal, so they take no
// input meanwhile) and are locked again when it closes.
#include "core/platform/messages.h"

class QWidget;

namespace restash {

class PanelMessages final : public Messages {
public:
    explicit PanelMessages(Messages& boxes) : boxes_(boxes) {}

    // The panel that holds the window's controls.
    void SetLocked(QWidget* panel) { panel_ = panel; }

    Answer Show(MessageKind kind, std::string_view text, Buttons buttons = Buttons::Ok,
                int helpContext = 0) override;

private:
    Messages& boxes_;
    QWidget* panel_ = nullptr;
};

}  // namespace restash
