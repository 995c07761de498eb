#pragma once
// AboutDialog: "About Restash".
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace restash {

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Esc answers like the OK button.
    void reject() override { accept(); }

private:
    QFrame* frame_;
    QLabel* icon_;
    QLabel* version_;
    QLabel* comments_;
    QPushButton* okButton_;
};

}  // namespace restash
