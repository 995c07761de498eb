// restash-screenshots: pictures of the desktop program's windows for the
// README, taken from the real windows as a user sees them. It works on a
// copy of a sample cache in a folder of its own (the program's home folder,
// RESTASH_HOME), goes the user's road through the windows and saves each
// window as OUT_DIR/<window>.png.
//
// Usage: restash-screenshots SAMPLE_CACHE_DIR WORK_DIR OUT_DIR
// WORK_DIR must be empty or missing. Runs under QT_QPA_PLATFORM=offscreen or
// an X server (xvfb-run).
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/cache/cache_source.h"
#include "core/uncache/uncache_run.h"
#include "gui/app.h"
#include "gui/message_box.h"
#include "gui/product_picture.h"
#include "gui/splash_screen.h"

namespace restash {
namespace {

namespace fs = std::filesystem;

// The sample's visits were in June 1997; "now" is just after them, so the
// age boxes and the index pages' dates look as they did then.
constexpr std::int64_t kSampleNow = 867000000;

class NothingRunning final : public ProcessTable {
public:
    std::optional<pid_t> HolderOf(const std::string&) override { return std::nullopt; }
};

class NoLaunch final : public ProgramLauncher {
public:
    int Launch(const std::string&, const std::string&) override { return kLaunchStarted; }
};

class NoChooser final : public FileChooser {
public:
    std::optional<std::string> OpenFile(QWidget*, const FileQuestion&) override { return std::nullopt; }
    std::optional<std::string> ChooseDirectory(QWidget*, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

[[noreturn]] void Fail(const QString& what) {
    std::fprintf(stderr, "restash-screenshots: %s\n", qPrintable(what));
    std::exit(1);
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) Fail(QStringLiteral("cannot write %1").arg(QString::fromStdString(path.string())));
}

// The home folder: a copy of the sample cache, a stand-in Netscape program
// and a RESTASH.INI naming them, with the offline copy built beside them.
void MakeHome(const fs::path& sample, const fs::path& home) {
    if (!fs::is_directory(sample))
        Fail(QStringLiteral("no sample cache folder %1").arg(QString::fromStdString(sample.string())));
    if (fs::exists(home) && !fs::is_empty(home))
        Fail(QStringLiteral("%1 is not empty").arg(QString::fromStdString(home.string())));
    fs::create_directories(home / "cache");
    fs::copy(sample, home / "cache", fs::copy_options::recursive);
    fs::create_directories(home / "netscape");
    WriteFile(home / "netscape" / "netscape", "#!/bin/sh\n");
    fs::permissions(home / "netscape" / "netscape", fs::perms::owner_exec, fs::perm_options::add);
    const std::string h = home.string() + "/";
    WriteFile(home / "RESTASH.INI", "[paths]\r\ncachedir=" + h + "cache/FAT.DB\r\nnetspath=" + h +
                                        "netscape/netscape\r\nofflinedir=" + h + "\r\nhistpath=" + h +
                                        "netscape/netscape.hst\r\n");
}

// Waits, delivering events, until done() holds; fails after ten seconds.
void WaitUntil(const std::function<bool()>& done, const char* what) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    if (!done()) Fail(QStringLiteral("timed out waiting for %1").arg(QString::fromLatin1(what)));
}

// Lets the window paint and its queued work run.
void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

class Camera {
public:
    explicit Camera(QString outDir) : outDir_(std::move(outDir)) {}

    // Saves window as <name>.png. A window with a caption gets a plain
    // title bar drawn above it, since the platforms the script runs on have
    // no window manager to draw one.
    void Take(QWidget* window, const QString& name) {
        const QPixmap client = window->grab();
        QPixmap shot = client;
        if (!window->windowTitle().isEmpty()) shot = Framed(client, window->windowTitle());
        const QString path = QDir(outDir_).filePath(name + QStringLiteral(".png"));
        if (!shot.save(path, "PNG")) Fail(QStringLiteral("cannot write %1").arg(path));
        std::printf("%s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
    }

private:
    static QPixmap Framed(const QPixmap& client, const QString& title) {
        const int border = 1;
        QFont font = QApplication::font();
        font.setBold(true);
        const int bar = QFontMetrics(font).height() + 8;
        QPixmap framed(client.width() + 2 * border, client.height() + bar + 2 * border);
        framed.fill(QColor(64, 64, 64));
        QPainter painter(&framed);
        const QRect barRect(border, border, client.width(), bar);
        QLinearGradient gradient(barRect.topLeft(), barRect.topRight());
        gradient.setColorAt(0, QColor(0, 0, 128));
        gradient.setColorAt(1, QColor(16, 132, 208));
        painter.fillRect(barRect, gradient);
        const int icon = bar - 6;
        painter.drawPixmap(border + 4, border + 3, ProgramIcon().pixmap(icon, icon));
        painter.setPen(Qt::white);
        painter.setFont(font);
        painter.drawText(barRect.adjusted(icon + 10, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
        painter.drawPixmap(border, border + bar, client);
        return framed;
    }

    QString outDir_;
};

// Shows a window that the program shows modally, for the picture only.
void ShowAndTake(Camera& camera, QWidget* window, const QString& name) {
    window->show();
    Settle();
    camera.Take(window, name);
    window->hide();
    Settle();
}

int TakeAll(const fs::path& sample, const fs::path& home, const QString& outDir) {
    MakeHome(sample, home);
    ::setenv("RESTASH_HOME", home.c_str(), 1);
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    if (!QDir().mkpath(outDir)) Fail(QStringLiteral("cannot create %1").arg(outDir));
    Camera camera(outDir);

    {
        SplashScreen splash(60000);
        ShowAndTake(camera, &splash, QStringLiteral("splash"));
    }

    MessageBox messages;
    // No box may wait for a click: every box is recorded, and the one
    // question of the road (view the index now?) is answered No.
    messages.SetScripted(true);
    messages.SetNextAnswer(Answer::No);
    NothingRunning processes;
    NoLaunch launcher;
    FixedClock clock(kSampleNow);
    NoChooser chooser;
    Shell shell(messages, processes, launcher, clock, chooser);
    Windows windows(shell);

    windows.mainWindow.show();
    WaitUntil([&] { return windows.mainWindow.Shown(); }, "the main window");
    Settle();
    camera.Take(&windows.mainWindow, QStringLiteral("main"));
    if (!messages.shown().empty()) Fail(QStringLiteral("the main window warned: %1")
                                            .arg(QString::fromStdString(messages.shown().front().text)));

    ShowAndTake(camera, &windows.aboutDialog, QStringLiteral("about"));
    ShowAndTake(camera, &windows.setupDialog, QStringLiteral("setup"));
    ShowAndTake(camera, &windows.preferencesDialog, QStringLiteral("preferences"));

    // The selection window as Vivov Evizuviv opens it: the index is read
    // after the first paint with every domain in the Uncache list; then two
    // of them go back to the list of available domains.
    SelectionDialog& selection = windows.selectionDialog;
    shell.cache = OpenCacheSource(shell.settings.CacheIndexPath());
    shell.IndexLoadPending = true;
    selection.show();
    WaitUntil([&] { return !shell.IndexLoadPending && !selection.Working(); }, "the sample's index");
    auto* src = selection.findChild<QListWidget*>(QStringLiteral("SrcList"));
    auto* dst = selection.findChild<QListWidget*>(QStringLiteral("DstList"));
    if (!dst || dst->count() < 4) Fail(QStringLiteral("the selection window lists too few domains"));
    const int listed = dst->count();
    for (int row : {1, 3}) dst->item(row)->setSelected(true);
    selection.UnchooseMarked();
    Settle();
    if (src->count() != 2 || dst->count() != listed - 2)
        Fail(QStringLiteral("moving two domains left %1 and %2 in the lists").arg(src->count()).arg(dst->count()));
    camera.Take(&selection, QStringLiteral("selection"));

    // Uncache everything; the progress window is taken part-way through
    // copying the files.
    selection.ChooseAll();
    auto& sink = dynamic_cast<WindowProgress&>(windows.progressDialog.progress());
    bool copying = false;
    bool taken = false;
    const auto onPhase = sink.onPhase;
    sink.onPhase = [&](std::string_view text) {
        onPhase(text);
        copying = text == kPhaseCopying;
    };
    const auto onGauge = sink.onGauge;
    sink.onGauge = [&](int percent) {
        onGauge(percent);
        if (copying && !taken && percent >= 40) {
            taken = true;
            camera.Take(&windows.progressDialog, QStringLiteral("progress"));
        }
    };
    QTimer::singleShot(0, &selection, [&] { selection.Uncache(); });
    WaitUntil([&] { return !selection.isVisible(); }, "the run");
    sink.onPhase = onPhase;
    sink.onGauge = onGauge;
    if (!taken) Fail(QStringLiteral("the run never reached 40% of copying the files"));
    if (selection.result() != Code(DialogResult::DoNotView)) Fail(QStringLiteral("the run ended with %1, not 4").arg(selection.result()));

    // The search window after a search that found pages. The window closes
    // then; it keeps its counts, and showing it again would clear them, so
    // it is taken hidden.
    SearchDialog& search = windows.searchDialog;
    search.show();
    Settle();
    search.findChild<QLineEdit*>(QStringLiteral("SearchEdit"))->setText(QStringLiteral("sprocket"));
    search.Search();
    Settle();
    auto* found = search.findChild<QLabel*>(QStringLiteral("FoundPanel"));
    if (!found || found->text() == QStringLiteral("0")) Fail(QStringLiteral("the search found no page"));
    camera.Take(&search, QStringLiteral("search"));
    return 0;
}

}  // namespace
}  // namespace restash

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("restash"));
    if (argc != 4) {
        std::fprintf(stderr, "usage: restash-screenshots SAMPLE_CACHE_DIR WORK_DIR OUT_DIR\n");
        return 2;
    }
    app.setWindowIcon(restash::ProgramIcon());
    return restash::TakeAll(argv[1], argv[2], QString::fromLocal8Bit(argv[3]));
}
