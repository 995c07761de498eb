#pragma once
// What every window test needs: a home folder of its own (RESTASH_HOME) with
// a real RESTASH.INI, message boxes in scripted mode, and stand-ins for the
// outside world (running processes, starting programs, the file dialogs, the
// clock).
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "core/app/process_table.h"
#include "core/app/program_launcher.h"
#include "core/platform/clock.h"
#include "gui/file_chooser.h"
#include "gui/message_box.h"
#include "gui/shell.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/temp_dir.h"

class QWidget;

namespace restash::test {

class FakeProcesses final : public ProcessTable {
public:
    std::optional<pid_t> HolderOf(const std::string& path) override {
        asked.push_back(path);
        return running ? std::optional<pid_t>(4242) : std::nullopt;
    }
    bool running = false;  // a browser has the cache index open
    std::vector<std::string> asked;
};

class FakeLauncher final : public ProgramLauncher {
public:
    int Launch(const std::string& program, const std::string& file) override {
        calls.push_back({program, file});
        return result;
    }
    struct Call {
        std::string program;
        std::string file;
    };
    int result = kLaunchStarted;
    std::vector<Call> calls;
};

class FakeChooser final : public FileChooser {
public:
    std::optional<std::string> OpenFile(QWidget*, const FileQuestion& question) override {
        asked.push_back(question);
        return file;
    }
    std::optional<std::string> ChooseDirectory(QWidget*, const std::string& title,
                                               const std::string& startFolder) override {
        asked.push_back({title, {}, startFolder});
        return directory;
    }
    std::optional<std::string> file;
    std::optional<std::string> directory;
    std::vector<FileQuestion> asked;
};

class GuiFixture {
public:
    // Sets RESTASH_HOME to a fresh folder; no RESTASH.INI yet.
    GuiFixture();
    ~GuiFixture();

    const std::string& home() const { return home_.path(); }
    std::string IniPath() const { return home_.path() + "RESTASH.INI"; }
    void WriteIni(const std::string& text) const;
    std::string ReadIni() const;
    // Loads the settings as the main window's first show does.
    void LoadSettings();
    // A cache of objects in home/cache/ (hash form FAT.DB or text form FAT),
    // a Netscape program file home/netscape, and a RESTASH.INI naming them
    // with the offline folder home/; then loads the settings.
    void WriteCacheSetup(const std::vector<NsObject>& objects, bool hashForm);
    std::string OfflineRoot() const { return home() + "OFFLINE/"; }

    TempDir home_;
    MessageBox messages;
    FakeProcesses processes;
    FakeLauncher launcher;
    static constexpr std::int64_t kNow = 1'000'000'000;
    FixedClock clock{kNow};
    FakeChooser chooser;
    Shell shell{messages, processes, launcher, clock, chooser};
};

// The names of the widgets in tab order, starting at first, for as long as
// they are among names.
QStringList TabOrder(QWidget* first, int count);

}  // namespace restash::test
