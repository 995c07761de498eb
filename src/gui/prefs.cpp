#include "gui/prefs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>

#include "core/app/ini_file.h"
#include "core/app/setup_ops.h"
#include "core/platform/error.h"
#include "gui/layout.h"

namespace restash {

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    setKeyboardTracking(true);
    lineEdit()->setText(QStringLiteral("0"));
}

int TSpinEdit::Value() const { return ParseSpinValue(lineEdit()->text().toStdString()); }

void TSpinEdit::SetValue(int value) { lineEdit()->setText(QString::number(ClampGmt(value))); }

void TSpinEdit::stepBy(int steps) {
    SetValue(ClampGmt(Value()) + steps);
    lineEdit()->selectAll();
}

QValidator::State TSpinEdit::validate(QString&, int&) const {
    // What may be typed is decided key by key; any text may stand.
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // For the dialog: Enter presses OK with the value as typed.
            event->ignore();
            return;
        default: break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20) {
        const QString separator = QLocale().decimalPoint();
        const char decimal = separator.isEmpty() ? '.' : separator.at(0).toLatin1();
        const QChar c = text.at(0);
        if (c.unicode() > 0x7f || !SpinAcceptsKey(static_cast<char>(c.unicode()), decimal ? decimal : '.')) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    SetValue(Value());
    QAbstractSpinBox::focusOutEvent(event);
}

TPreferencesForm::TPreferencesForm(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(QStringLiteral("Restash - Preferences"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 377, 201);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Place(Panel1, 16, 16, 345, 121);

    NotFoundCheck = new QCheckBox(QStringLiteral("Retain Original URL's with Uncached Links"), Panel1);
    NotFoundCheck->setObjectName(QStringLiteral("NotFoundCheck"));
    Place(NotFoundCheck, 40, 8, 297, 33);
    EmphTagCheck = new QCheckBox(QStringLiteral("Show Available Links as Blinking Text"), Panel1);
    EmphTagCheck->setObjectName(QStringLiteral("EmphTagCheck"));
    Place(EmphTagCheck, 40, 40, 297, 33);
    GMTSEdit = new TSpinEdit(Panel1);
    GMTSEdit->setObjectName(QStringLiteral("GMTSEdit"));
    Place(GMTSEdit, 40, 79, 57, 26);
    Label1 = new QLabel(QStringLiteral("Adjustment for GMT (Hours)"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 112, 82, 225, 33);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto makeButton = [this](const char* name, const char* caption, int left) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        Place(button, left, 152, 105, 33);
        return button;
    };
    OKButton = makeButton("OKButton", "&OK", 16);
    OKButton->setDefault(true);
    CancelButton = makeButton("CancelButton", "&Cancel", 136);
    HelpButton = makeButton("HelpButton", "&Help", 256);

    QWidget* order[] = {NotFoundCheck, EmphTagCheck, GMTSEdit, OKButton, CancelButton, HelpButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    connect(OKButton, &QPushButton::clicked, this, &TPreferencesForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TPreferencesForm::HelpButtonClick);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TPreferencesForm::HelpButtonClick);
}

void TPreferencesForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TPreferencesForm::FormShow() {
    const PreferencesFields fields = ShowPreferences(shell_.settings);
    GMTSEdit->SetValue(fields.GMTSEdit);
    NotFoundCheck->setChecked(fields.NotFoundCheck);
    EmphTagCheck->setChecked(fields.EmphTagCheck);
    CentreOnScreen(this);
    CancelButton->setFocus();
}

void TPreferencesForm::OKButtonClick() {
    PreferencesFields fields;
    fields.GMTSEdit = GMTSEdit->Value();
    fields.NotFoundCheck = NotFoundCheck->isChecked();
    fields.EmphTagCheck = EmphTagCheck->isChecked();
    IniFile file(shell_.settings.SettingsFilePath());
    try {
        ApplyPreferences(shell_.settings, fields, file);
    } catch (const std::exception& e) {
        shell_.messages.ShowError(e.what());
        return;
    }
    accept();
}

void TPreferencesForm::HelpButtonClick() { shell_.OpenHelp(kPreferencesHelpContext); }

}  // namespace restash
