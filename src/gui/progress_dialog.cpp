#include "gui/progress_dialog.h"

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

ProgressDialog::ProgressDialog(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Restash - Uncaching"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 353, 127);

    phaseFrame_ = new QFrame(this);
    phaseFrame_->setObjectName(QStringLiteral("Panel2"));
    phaseFrame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(phaseFrame_, 8, 9, 337, 24);
    phaseLabel_ = new QLabel(phaseFrame_);
    phaseLabel_->setObjectName(QStringLiteral("ProgressLabel"));
    phaseLabel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    phaseLabel_->setAutoFillBackground(true);
    phaseLabel_->setBackgroundRole(QPalette::Base);
    phaseLabel_->setAlignment(Qt::AlignCenter);
    phaseLabel_->setGeometry(phaseFrame_->contentsRect());

    gaugeFrame_ = new QFrame(this);
    gaugeFrame_->setObjectName(QStringLiteral("Panel1"));
    gaugeFrame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(gaugeFrame_, 8, 40, 337, 25);
    gauge_ = new QProgressBar(gaugeFrame_);
    gauge_->setObjectName(QStringLiteral("Progressgauge"));
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    gauge_->setTextVisible(false);
    gauge_->setGeometry(gaugeFrame_->contentsRect());

    stopButton_ = new QPushButton(QStringLiteral("&Stop"), this);
    stopButton_->setObjectName(QStringLiteral("StopButton"));
    stopButton_->setDefault(true);
    Place(stopButton_, 128, 80, 97, 33);
    connect(stopButton_, &QPushButton::clicked, this, &ProgressDialog::Stop);

    progress_.onPhase = [this](std::string_view text) { phaseLabel_->setText(MessageText(text)); };
    progress_.onGauge = [this](int percent) { gauge_->setValue(std::clamp(percent, 0, 100)); };
}

void ProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void ProgressDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The run starts from the first paint, once the window is on screen. It
    // runs just after this paint rather than inside it, since it lets the
    // window paint again while it works.
    if (shell_.UncachePending) QMetaObject::invokeMethod(this, &ProgressDialog::RunPending, Qt::QueuedConnection);
}

void ProgressDialog::RunPending() {
    if (!shell_.UncachePending) return;
    // Cleared before the work: a repaint during the run must not start another.
    shell_.UncachePending = false;
    phaseLabel_->clear();
    gauge_->setValue(0);
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

void ProgressDialog::Stop() { progress_.RequestStop(); }

void ProgressDialog::reject() {
    if (running_) {
        progress_.RequestStop();
        return;
    }
    done(Code(DialogResult::Stopped));
}

}  // namespace restash
