#include "gui/panel_messages.h"

#include <QWidget>

namespace restash {

Answer PanelMessages::Show(MessageKind kind, std::string_view text, Buttons buttons, int helpContext) {
    const bool locked = panel_ && !panel_->isEnabled();
    if (locked) panel_->setEnabled(true);
    const Answer answer = boxes_.Show(kind, text, buttons, helpContext);
    if (locked) panel_->setEnabled(false);
    return answer;
}

}  // namespace restash
