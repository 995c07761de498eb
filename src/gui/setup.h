#pragma once
// TSetupForm: "Restash - Setup", the four paths.
#include <QDialog>

#include "gui/shell.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace restash {

class TSetupForm final : public QDialog {
    Q_OBJECT
public:
    explicit TSetupForm(Shell& shell, QWidget* parent = nullptr);

    void FormShow();
    void CacheBrowseClick();
    void ExeBrowseClick();
    void HstBrowseClick();
    void OfflineBrowseClick();
    void OKButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Browse(QLineEdit* target, const std::string& title, const std::string& description,
                const std::string& patterns);

    Shell& shell_;
    QLabel* Label2;
    QLineEdit* CacheEdit;
    QPushButton* CacheBrowse;
    QLabel* Label1;
    QLineEdit* ExeEdit;
    QPushButton* ExeBrowse;
    QLabel* Label3;
    QLineEdit* HstEdit;
    QPushButton* HstBrowse;
    QLabel* Label4;
    QLineEdit* OfflineEdit;
    QPushButton* OfflineBrowse;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
    QToolButton* AutoFind;
};

}  // namespace restash
