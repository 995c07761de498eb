#pragma once
// ProgressDialog: "Restash - Uncaching", the progress window of the uncaching run.
// Its first paint with UncachePending set runs the run; the window closes
// with the run's result (view the index, do not view, stopped).
#include <QDialog>
#include <functional>
#include <optional>

#include "gui/dialog_result.h"
#include "gui/event_loop_progress.h"
#include "gui/shell.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace restash {

class ProgressDialog final : public QDialog {
    Q_OBJECT
public:
    // The run: works through the sink and returns the window's result, or
    // nothing when it failed (the window then stays open with the state
    // reached; closing it counts as a stopped run).
    using Run = std::function<std::optional<DialogResult>(ProgressSink&)>;

    explicit ProgressDialog(Shell& shell, QWidget* parent = nullptr);

    // What the next first paint runs.
    void SetRun(Run run) { run_ = std::move(run); }

    void RunPending();
    void Stop();

    bool Running() const { return running_; }
    ProgressSink& progress() { return progress_; }

    // Closing the window while the run works asks it to stop instead.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Shell& shell_;
    Run run_;
    WindowProgress progress_;
    bool running_ = false;

    QFrame* phaseFrame_;
    QLabel* phaseLabel_;
    QFrame* gaugeFrame_;
    QProgressBar* gauge_;
    QPushButton* stopButton_;
};

}  // namespace restash
