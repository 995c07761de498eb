#include "tests/gui/support/gui_fixture.h"

#include <QWidget>
#include <cstdlib>

#include "core/app/settings.h"

namespace restash::test {

GuiFixture::GuiFixture() {
    ::setenv("RESTASH_HOME", home_.path().c_str(), 1);
    messages.SetScripted(true);
}

GuiFixture::~GuiFixture() { ::unsetenv("RESTASH_HOME"); }

void GuiFixture::WriteIni(const std::string& text) const { WriteBytes(IniPath(), text); }

std::string GuiFixture::ReadIni() const { return FileExists(IniPath()) ? ReadBytes(IniPath()) : std::string(); }

void GuiFixture::LoadSettings() { shell.settings = restash::LoadSettings(home_.path()); }

QStringList TabOrder(QWidget* first, int count) {
    QStringList names;
    QWidget* w = first;
    for (int i = 0; i < count && w; ++i) {
        names << w->objectName();
        // The next widget that takes the focus by Tab.
        do {
            w = w->nextInFocusChain();
        } while (w && w != first &&
                 (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(first->window()) || w->focusProxy()));
    }
    return names;
}

}  // namespace restash::test
