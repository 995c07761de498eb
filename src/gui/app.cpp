#include "gui/app.h"

#include <QApplication>
#include <memory>

#include "core/app/process_table.h"
#include "core/app/program_launcher.h"
#include "gui/file_chooser.h"
#include "gui/message_box.h"
#include "gui/product_picture.h"
#include "gui/single_instance.h"
#include "gui/splash.h"

namespace restash {

Windows::Windows(Shell& shell)
    : ControlForm(shell),
      MainForm(shell, &ControlForm),
      SelectionForm(shell, MainForm, &ControlForm),
      AboutBox(&ControlForm),
      SetupForm(shell, &ControlForm),
      PreferencesForm(shell, &ControlForm),
      SearchForm(shell, &ControlForm) {
    ShellWindows windows;
    windows.selection = &SelectionForm;
    windows.about = &AboutBox;
    windows.setup = &SetupForm;
    windows.preferences = &PreferencesForm;
    windows.search = &SearchForm;
    ControlForm.SetWindows(windows);
}

int RunRestash(QApplication& app, int splashMs) {
    app.setApplicationName(QStringLiteral("restash"));
    app.setWindowIcon(ProgramIcon());
    QCoreApplication::processEvents();

    SingleInstance instance;
    if (!instance.Claim()) return 0;

    auto splash = std::make_unique<TSplashForm>(splashMs);
    splash->ShowAndWait();

    MessageBox messages;
    ProcProcessTable processes;
    SpawnLauncher launcher;
    SystemClock clock;
    QtFileChooser chooser(messages);
    Shell shell(messages, processes, launcher, clock, chooser);
    messages.SetOpenHelp([&shell](int context) { shell.OpenHelp(context); });
    Windows windows(shell);
    splash->hide();
    splash.reset();

    QObject::connect(&instance, &SingleInstance::raiseRequested, &windows.ControlForm, &TControlForm::BringForward);
    windows.ControlForm.show();
    return app.exec();
}

}  // namespace restash
