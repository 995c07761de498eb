#include "gui/app.h"

#include <QApplication>
#include <memory>

#include "core/app/process_table.h"
#include "core/app/program_dir.h"
#include "core/app/program_launcher.h"
#include "gui/file_chooser.h"
#include "gui/message_box.h"
#include "gui/product_picture.h"
#include "gui/qt_text.h"
#include "gui/single_instance.h"
#include "gui/splash_screen.h"

namespace restash {

Windows::Windows(Shell& shell)
    : mainWindow(shell),
      progressDialog(shell, &mainWindow),
      selectionDialog(shell, progressDialog, &mainWindow),
      aboutDialog(&mainWindow),
      setupDialog(shell, &mainWindow),
      preferencesDialog(shell, &mainWindow),
      searchDialog(shell, &mainWindow) {
    ShellWindows windows;
    windows.selection = &selectionDialog;
    windows.about = &aboutDialog;
    windows.setup = &setupDialog;
    windows.preferences = &preferencesDialog;
    windows.search = &searchDialog;
    mainWindow.SetWindows(windows);
}

int RunRestash(QApplication& app, int splashMs) {
    app.setApplicationName(QStringLiteral("restash"));
    app.setWindowIcon(ProgramIcon());
    QCoreApplication::processEvents();

    SingleInstance instance(SingleInstance::DefaultName(PathText(FindProgramDir())));
    if (!instance.Claim()) return 0;

    auto splash = std::make_unique<SplashScreen>(splashMs);
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

    QObject::connect(&instance, &SingleInstance::raiseRequested, &windows.mainWindow, &MainWindow::BringForward);
    windows.mainWindow.show();
    return app.exec();
}

}  // namespace restash
