#include "tests/gui/support/gui_fixture.h"

#include <QWidget>
#include <cstdlib>

#include "core/app/settings.h"

namespace restash::test {

GuiFixture::GuiFixture() {
    ::setenv("RESTASH_HOME", home_.path().c_str(), 1);
    // Ages measured from the fixed clock do not depend on the machine's zone.
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    messages.SetScripted(true);
}

GuiFixture::~GuiFixture() { ::unsetenv("RESTASH_HOME"); }

void GuiFixture::WriteIni(const std::string& text) const { WriteBytes(IniPath(), text); }

std::string GuiFixture::ReadIni() const { return FileExists(IniPath()) ? ReadBytes(IniPath()) : std::string(); }

void GuiFixture::LoadSettings() { shell.settings = restash::LoadSettings(home_.path()); }

void GuiFixture::WriteCacheSetup(const std::vector<NsObject>& objects, bool hashForm) {
    const std::string cache = home() + "cache/";
    if (hashForm) {
        WriteHashCache(cache, objects);
    } else {
        WriteTextCache(cache, objects);
    }
    WriteBytes(home() + "netscape", "#!/bin/sh\n");
    WriteIni("[paths]\r\ncachedir=" + cache + (hashForm ? "FAT.DB" : "FAT") + "\r\nnetspath=" + home() +
             "netscape\r\nofflinedir=" + home() + "\r\nhistpath=" + home() + "missing.hst\r\n");
    LoadSettings();
}

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
