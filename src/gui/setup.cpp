#include "gui/setup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "core/app/ini_file.h"
#include "core/app/setup_ops.h"
#include "core/platform/error.h"
#include "gui/layout.h"
#include "gui/qt_text.h"

namespace restash {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, QWidget* buddy, int l, int t, int w,
                  int h) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(label, l, t, w, h);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int top) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    Place(edit, 16, top, 361, 26);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    Place(button, l, t, w, h);
    return button;
}

}  // namespace

TSetupForm::TSetupForm(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("SetupForm"));
    setWindowTitle(QStringLiteral("Restash - Setup"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 465, 337);

    // The edit fields keep the letter case of the path: on this system two
    // paths that differ in case name different files.
    CacheEdit = MakeEdit(this, "CacheEdit", 25);
    Label2 = MakeLabel(this, "Label2", "Netscape &FAT File Location", CacheEdit, 16, 4, 361, 29);
    CacheBrowse = MakeButton(this, "CacheBrowse", "Browse", 384, 23, 65, 30);
    ExeEdit = MakeEdit(this, "ExeEdit", 97);
    Label1 = MakeLabel(this, "Label1", "Netscape &Program Location", ExeEdit, 16, 76, 361, 29);
    ExeBrowse = MakeButton(this, "ExeBrowse", "Browse", 384, 95, 65, 30);
    HstEdit = MakeEdit(this, "HstEdit", 169);
    Label3 = MakeLabel(this, "Label3", "Netscape Histor&y File Location", HstEdit, 16, 148, 361, 37);
    HstBrowse = MakeButton(this, "HstBrowse", "Browse", 384, 167, 65, 30);
    OfflineEdit = MakeEdit(this, "OfflineEdit", 241);
    Label4 = MakeLabel(this, "Label4", "Offline &Directory Path", OfflineEdit, 16, 220, 361, 37);
    OfflineBrowse = MakeButton(this, "OfflineBrowse", "Browse", 384, 239, 65, 30);
    OKButton = MakeButton(this, "OKButton", "&OK", 104, 288, 105, 33);
    OKButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "&Cancel", 224, 288, 105, 33);
    HelpButton = MakeButton(this, "HelpButton", "&Help", 344, 288, 105, 33);

    // Kept from the form's design: a finder that was never given an action.
    AutoFind = new QToolButton(this);
    AutoFind->setObjectName(QStringLiteral("AutoFind"));
    AutoFind->setText(QStringLiteral("&Auto"));
    AutoFind->setToolTip(QStringLiteral("Auto find paths"));
    Place(AutoFind, 24, 272, 49, 49);
    AutoFind->hide();

    QWidget* order[] = {CacheEdit, CacheBrowse, ExeEdit, ExeBrowse, HstEdit, HstBrowse,
                        OfflineEdit, OfflineBrowse, OKButton, CancelButton, HelpButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    connect(CacheBrowse, &QPushButton::clicked, this, &TSetupForm::CacheBrowseClick);
    connect(ExeBrowse, &QPushButton::clicked, this, &TSetupForm::ExeBrowseClick);
    connect(HstBrowse, &QPushButton::clicked, this, &TSetupForm::HstBrowseClick);
    connect(OfflineBrowse, &QPushButton::clicked, this, &TSetupForm::OfflineBrowseClick);
    connect(OKButton, &QPushButton::clicked, this, &TSetupForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TSetupForm::HelpButtonClick);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TSetupForm::HelpButtonClick);
}

void TSetupForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TSetupForm::FormShow() {
    const SetupFields fields = ShowSetup(shell_.settings);
    CacheEdit->setText(PathText(fields.CacheEdit));
    ExeEdit->setText(PathText(fields.ExeEdit));
    HstEdit->setText(PathText(fields.HstEdit));
    OfflineEdit->setText(PathText(fields.OfflineEdit));
    CentreOnScreen(this);
    CancelButton->setFocus();
}

void TSetupForm::Browse(QLineEdit* target, const std::string& title, const std::string& description,
                        const std::string& patterns) {
    const auto chosen = shell_.chooser.OpenFile(this, title, description, SplitPatterns(patterns));
    if (chosen) target->setText(PathText(*chosen));
}

void TSetupForm::CacheBrowseClick() {
    // The pattern is read from the settings file at this moment, so an edit
    // made by hand counts at once.
    const IniFile file(shell_.settings.SettingsFilePath());
    Browse(CacheEdit, "Browse FAT File Location", "Cache File", file.ReadString("config", "fatname", "FAT") + ";*.DB");
}

void TSetupForm::ExeBrowseClick() {
    Browse(ExeEdit, "Browse Netscape Program File", "Netscape EXE", shell_.settings.ExeName);
}

void TSetupForm::HstBrowseClick() {
    Browse(HstEdit, "Browse Netscape History File", "History File", shell_.settings.HstName);
}

void TSetupForm::OfflineBrowseClick() {
    auto chosen = shell_.chooser.ChooseDirectory(this, "Select Directory");
    if (!chosen) return;
    if (chosen->empty() || chosen->back() != '/') *chosen += '/';
    OfflineEdit->setText(PathText(*chosen));
}

void TSetupForm::OKButtonClick() {
    SetupFields fields;
    fields.CacheEdit = PathBytes(CacheEdit->text());
    fields.ExeEdit = PathBytes(ExeEdit->text());
    fields.HstEdit = PathBytes(HstEdit->text());
    fields.OfflineEdit = PathBytes(OfflineEdit->text());
    IniFile file(shell_.settings.SettingsFilePath());
    try {
        ApplySetup(shell_.settings, fields, file);
    } catch (const std::exception& e) {
        // The dialog stays open; what was written before the failure stays.
        shell_.messages.ShowError(e.what());
        return;
    }
    accept();
}

void TSetupForm::HelpButtonClick() { shell_.OpenHelp(kSetupHelpContext); }

}  // namespace restash
