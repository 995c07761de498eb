#pragma once
// SearchDialog: "Restash - Search Offline Index".
#include <QDialog>

#include "gui/event_loop_progress.h"
#include "gui/shell.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace restash {

class SearchDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SearchDialog(Shell& shell, QWidget* parent = nullptr);

    void Reset();
    void Search();
    void Cancel();
    void ShowHelp();

    bool Searching() const { return searching_; }

    void reject() override { Cancel(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Shell& shell_;
    // Cancel during a search: the search stops after the current page.
    EventLoopProgress progress_;
    bool searching_ = false;

    QLabel* textLabel_;
    QLineEdit* textEdit_;
    QLabel* totalLabel_;
    QLabel* totalPanel_;
    QLabel* progressLabel_;
    QLabel* progressPanel_;
    QLabel* foundLabel_;
    QLabel* foundPanel_;
    QPushButton* searchButton_;
    QPushButton* cancelButton_;
    QPushButton* helpButton_;
};

}  // namespace restash
