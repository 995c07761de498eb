#pragma once
// SetupDialog: "Restash - Setup", the four paths.
#include <QDialog>

#include "gui/file_chooser.h"
#include "gui/shell.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace restash {

class SetupDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SetupDialog(Shell& shell, QWidget* parent = nullptr);

    void Refill();
    void BrowseCache();
    void BrowseProgram();
    void BrowseHistory();
    void BrowseOffline();
    void Save();
    void ShowHelp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Browse(QLineEdit* target, FileQuestion question);

    Shell& shell_;
    QLabel* cacheLabel_;
    QLineEdit* cacheEdit_;
    QPushButton* cacheBrowse_;
    QLabel* programLabel_;
    QLineEdit* programEdit_;
    QPushButton* programBrowse_;
    QLabel* historyLabel_;
    QLineEdit* historyEdit_;
    QPushButton* historyBrowse_;
    QLabel* offlineLabel_;
    QLineEdit* offlineEdit_;
    QPushButton* offlineBrowse_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QPushButton* helpButton_;
    QToolButton* autoFind_;
};

}  // namespace restash
