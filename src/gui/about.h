#pragma once
// TAboutBox: "About Restash".
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace restash {

class TAboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Esc answers like the OK button.
    void reject() override { accept(); }

private:
    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* Button1;
};

}  // namespace restash
