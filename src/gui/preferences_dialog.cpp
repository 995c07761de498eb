#include "gui/preferences_dialog.h"

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

GmtSpinBox::GmtSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    setKeyboardTracking(true);
    lineEdit()->setText(QStringLiteral("0"));
}

int GmtSpinBox::Value() const { return ParseSpinValue(lineEdit()->text().toStdString()); }

void GmtSpinBox::SetValue(int value) { lineEdit()->setText(QString::number(ClampGmt(value))); }

void GmtSpinBox::stepBy(int steps) {
    SetValue(ClampGmt(Value()) + steps);
    lineEdit()->selectAll();
}

QValidator::State GmtSpinBox::validate(QString&, int&) const {
    // What may be typed is decided key by key; any text may stand.
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled GmtSpinBox::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

void GmtSpinBox::keyPressEvent(QKeyEvent* event) {
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

void GmtSpinBox::focusOutEvent(QFocusEvent* event) {
    SetValue(Value());
    QAbstractSpinBox::focusOutEvent(event);
}

PreferencesDialog::PreferencesDialog(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(QStringLiteral("Restash - Preferences"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 377, 201);

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Panel1"));
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Place(frame_, 16, 16, 345, 121);

    keepAddressesCheck_ = new QCheckBox(QStringLiteral("Retain Original URL's with Uncached Links"), frame_);
    keepAddressesCheck_->setObjectName(QStringLiteral("NotFoundCheck"));
    Place(keepAddressesCheck_, 40, 8, 297, 33);
    emphasisCheck_ = new QCheckBox(QStringLiteral("Show Available Links as Blinking Text"), frame_);
    emphasisCheck_->setObjectName(QStringLiteral("EmphTagCheck"));
    Place(emphasisCheck_, 40, 40, 297, 33);
    gmtSpin_ = new GmtSpinBox(frame_);
    gmtSpin_->setObjectName(QStringLiteral("GMTSEdit"));
    Place(gmtSpin_, 40, 79, 57, 26);
    gmtLabel_ = new QLabel(QStringLiteral("Adjustment for GMT (Hours)"), frame_);
    gmtLabel_->setObjectName(QStringLiteral("Label1"));
    Place(gmtLabel_, 112, 82, 225, 33);
    gmtLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto makeButton = [this](const char* name, const char* caption, int left) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        Place(button, left, 152, 105, 33);
        return button;
    };
    okButton_ = makeButton("OKButton", "&OK", 16);
    okButton_->setDefault(true);
    cancelButton_ = makeButton("CancelButton", "&Cancel", 136);
    helpButton_ = makeButton("HelpButton", "&Help", 256);

    QWidget* order[] = {keepAddressesCheck_, emphasisCheck_, gmtSpin_, okButton_, cancelButton_, helpButton_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    connect(okButton_, &QPushButton::clicked, this, &PreferencesDialog::Save);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, &PreferencesDialog::ShowHelp);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &PreferencesDialog::ShowHelp);
}

void PreferencesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Refill();
}

void PreferencesDialog::Refill() {
    const PreferencesFields fields = ShowPreferences(shell_.settings);
    gmtSpin_->SetValue(fields.gmtHours);
    keepAddressesCheck_->setChecked(fields.keepAddresses);
    emphasisCheck_->setChecked(fields.emphasise);
    CentreOnScreen(this);
    cancelButton_->setFocus();
}

void PreferencesDialog::Save() {
    PreferencesFields fields;
    fields.gmtHours = gmtSpin_->Value();
    fields.keepAddresses = keepAddressesCheck_->isChecked();
    fields.emphasise = emphasisCheck_->isChecked();
    IniFile file(shell_.settings.SettingsFilePath());
    try {
        ApplyPreferences(shell_.settings, fields, file);
    } catch (const std::exception& e) {
        shell_.messages.ShowError(e.what());
        return;
    }
    accept();
}

void PreferencesDialog::ShowHelp() { shell_.OpenHelp(kPreferencesHelpContext); }

}  // namespace restash
