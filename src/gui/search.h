#pragma once
// TSearchForm: "Restash - Search Offline Index".
#include <QDialog>

#include "gui/event_loop_progress.h"
#include "gui/shell.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace restash {

class TSearchForm final : public QDialog {
    Q_OBJECT
public:
    explicit TSearchForm(Shell& shell, QWidget* parent = nullptr);

    void FormShow();
    void SearchButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();

    bool Searching() const { return searching_; }

    void reject() override { CancelButtonClick(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Shell& shell_;
    // Cancel during a search: the search stops after the current page.
    EventLoopProgress progress_;
    bool searching_ = false;

    QLabel* Label1;
    QLineEdit* SearchEdit;
    QLabel* Label2;
    QLabel* NumHTMPanel;
    QLabel* Label3;
    QLabel* ProgressPanel;
    QLabel* Label4;
    QLabel* FoundPanel;
    QPushButton* SearchButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
};

}  // namespace restash
