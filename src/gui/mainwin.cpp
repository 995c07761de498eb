#include "gui/mainwin.h"

#include <QCloseEvent>
#include <algorithm>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "core/platform/error.h"
#include "gui/layout.h"
#include "gui/qt_text.h"

namespace restash {

TMainForm::TMainForm(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Restash - Uncaching"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 353, 127);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(Panel2, 8, 9, 337, 24);
    ProgressLabel = new QLabel(Panel2);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setFrameStyle(QFrame::Box | QFrame::Plain);
    ProgressLabel->setAutoFillBackground(true);
    ProgressLabel->setBackgroundRole(QPalette::Base);
    ProgressLabel->setAlignment(Qt::AlignCenter);
    ProgressLabel->setGeometry(Panel2->contentsRect());

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(Panel1, 8, 40, 337, 25);
    Progressgauge = new QProgressBar(Panel1);
    Progressgauge->setObjectName(QStringLiteral("Progressgauge"));
    Progressgauge->setRange(0, 100);
    Progressgauge->setValue(0);
    Progressgauge->setTextVisible(false);
    Progressgauge->setGeometry(Panel1->contentsRect());

    StopButton = new QPushButton(QStringLiteral("&Stop"), this);
    StopButton->setObjectName(QStringLiteral("StopButton"));
    StopButton->setDefault(true);
    Place(StopButton, 128, 80, 97, 33);
    connect(StopButton, &QPushButton::clicked, this, &TMainForm::StopButtonClick);

    progress_.onPhase = [this](std::string_view text) { ProgressLabel->setText(MessageText(text)); };
    progress_.onGauge = [this](int percent) { Progressgauge->setValue(std::clamp(percent, 0, 100)); };
}

void TMainForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void TMainForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The run starts from the first paint, once the window is on screen. It
    // runs just after this paint rather than inside it, since it lets the
    // window paint again while it works.
    if (shell_.UncachePending) QMetaObject::invokeMethod(this, &TMainForm::FormPaint, Qt::QueuedConnection);
}

void TMainForm::FormPaint() {
    if (!shell_.UncachePending) return;
    // Cleared before the work: a repaint during the run must not start another.
    shell_.UncachePending = false;
    ProgressLabel->clear();
    Progressgauge->setValue(0);
    progress_.ClearStop();
    running_ = true;
    std::optional<DialogResult> result = DialogResult::Stopped;
    try {
        if (run_) result = run_(progress_);
    } catch (const std::exception& e) {
        shell_.messages.ShowError(e.what());
        result.reset();
    }
    running_ = false;
    if (result) done(Code(*result));
}

void TMainForm::StopButtonClick() { progress_.RequestStop(); }

void TMainForm::reject() {
    if (running_) {
        progress_.RequestStop();
        return;
    }
    done(Code(DialogResult::Stopped));
}

}  // namespace restash
