#pragma once
// PreferencesDialog: "Restash - Preferences", and its GMT spin field.
#include <QAbstractSpinBox>
#include <QDialog>

#include "gui/shell.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace restash {

// The GMT spin field: whole numbers from -24 to 24. It takes only digits,
// signs, the decimal separator and control keys (Enter goes to the dialog's
// default button); Up, Down and the arrow buttons step by 1; a value set or
// left outside the range becomes the nearer bound; a text that is not a
// whole number reads as -24.
class GmtSpinBox final : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit GmtSpinBox(QWidget* parent = nullptr);

    // The value of the text as it stands (unclamped).
    int Value() const;
    // Shows value, pulled into the range.
    void SetValue(int value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class PreferencesDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(Shell& shell, QWidget* parent = nullptr);

    void Refill();
    void Save();
    void ShowHelp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Shell& shell_;
    QFrame* frame_;
    QCheckBox* keepAddressesCheck_;
    QCheckBox* emphasisCheck_;
    GmtSpinBox* gmtSpin_;
    QLabel* gmtLabel_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QPushButton* helpButton_;
};

}  // namespace restash
