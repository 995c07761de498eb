#pragma once
// TPreferencesForm: "Restash - Preferences", and its GMT spin field.
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
class TSpinEdit final : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

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

class TPreferencesForm final : public QDialog {
    Q_OBJECT
public:
    explicit TPreferencesForm(Shell& shell, QWidget* parent = nullptr);

    void FormShow();
    void OKButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Shell& shell_;
    QFrame* Panel1;
    QCheckBox* NotFoundCheck;
    QCheckBox* EmphTagCheck;
    TSpinEdit* GMTSEdit;
    QLabel* Label1;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
};

}  // namespace restash
