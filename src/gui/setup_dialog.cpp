#include "gui/setup_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "core/app/ini_file.h"
#include "core/app/setup_ops.h"
#include "core/jobs/output_overlap.h"
#include "core/platform/paths.h"
#include "core/platform/error.h"
#include "gui/file_chooser.h"
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
    Place(button, l, t, w, h);
    return button;
}

}  // namespace

SetupDialog::SetupDialog(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("SetupForm"));
    setWindowTitle(QStringLiteral("Restash - Setup"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 465, 337);

    // The edit fields keep the letter case of the path: on this system two
    // paths that differ in case name different files.
    cacheEdit_ = MakeEdit(this, "CacheEdit", 25);
    cacheLabel_ = MakeLabel(this, "Label2", "Netscape &FAT File Location", cacheEdit_, 16, 4, 361, 29);
    cacheBrowse_ = MakeButton(this, "CacheBrowse", "Browse", 384, 23, 65, 30);
    programEdit_ = MakeEdit(this, "ExeEdit", 97);
    programLabel_ = MakeLabel(this, "Label1", "Netscape &Program Location", programEdit_, 16, 76, 361, 29);
    programBrowse_ = MakeButton(this, "ExeBrowse", "Browse", 384, 95, 65, 30);
    historyEdit_ = MakeEdit(this, "HstEdit", 169);
    historyLabel_ = MakeLabel(this, "Label3", "Netscape Histor&y File Location", historyEdit_, 16, 148, 361, 37);
    historyBrowse_ = MakeButton(this, "HstBrowse", "Browse", 384, 167, 65, 30);
    offlineEdit_ = MakeEdit(this, "OfflineEdit", 241);
    offlineLabel_ = MakeLabel(this, "Label4", "Offline &Directory Path", offlineEdit_, 16, 220, 361, 37);
    offlineBrowse_ = MakeButton(this, "OfflineBrowse", "Browse", 384, 239, 65, 30);
    okButton_ = MakeButton(this, "OKButton", "&OK", 104, 288, 105, 33);
    okButton_->setDefault(true);
    cancelButton_ = MakeButton(this, "CancelButton", "&Cancel", 224, 288, 105, 33);
    helpButton_ = MakeButton(this, "HelpButton", "&Help", 344, 288, 105, 33);

    // Kept from the form's design: a finder that was never given an action.
    autoFind_ = new QToolButton(this);
    autoFind_->setObjectName(QStringLiteral("AutoFind"));
    autoFind_->setText(QStringLiteral("&Auto"));
    autoFind_->setToolTip(QStringLiteral("Auto find paths"));
    Place(autoFind_, 24, 272, 49, 49);
    autoFind_->hide();

    QWidget* order[] = {cacheEdit_, cacheBrowse_, programEdit_, programBrowse_, historyEdit_, historyBrowse_,
                        offlineEdit_, offlineBrowse_, okButton_, cancelButton_, helpButton_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    connect(cacheBrowse_, &QPushButton::clicked, this, &SetupDialog::BrowseCache);
    connect(programBrowse_, &QPushButton::clicked, this, &SetupDialog::BrowseProgram);
    connect(historyBrowse_, &QPushButton::clicked, this, &SetupDialog::BrowseHistory);
    connect(offlineBrowse_, &QPushButton::clicked, this, &SetupDialog::BrowseOffline);
    connect(okButton_, &QPushButton::clicked, this, &SetupDialog::Save);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, &SetupDialog::ShowHelp);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &SetupDialog::ShowHelp);
}

void SetupDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Refill();
}

void SetupDialog::Refill() {
    const SetupFields fields = ShowSetup(shell_.settings);
    cacheEdit_->setText(PathText(fields.cacheIndex));
    programEdit_->setText(PathText(fields.browserProgram));
    historyEdit_->setText(PathText(fields.historyFile));
    offlineEdit_->setText(PathText(fields.offlineFolder));
    CentreOnScreen(this);
    cancelButton_->setFocus();
}

void SetupDialog::Browse(QLineEdit* target, FileQuestion question) {
    const auto chosen = shell_.chooser.OpenFile(this, question);
    if (chosen) target->setText(PathText(*chosen));
}

void SetupDialog::BrowseCache() {
    // The pattern is read from the settings file at this moment, so an edit
    // made by hand counts at once.
    const IniFile file(shell_.settings.SettingsFilePath());
    const std::string patterns = file.ReadString("config", "fatname", "FAT") + ";*.DB";
    Browse(cacheEdit_, {"Browse FAT File Location", {{"Cache File", SplitPatterns(patterns)}},
                        StartFolderForFile(PathBytes(cacheEdit_->text()))});
}

void SetupDialog::BrowseProgram() {
    // The browser of a Linux desktop goes by many names; the name filter of
    // the settings file stays as a further choice.
    Browse(programEdit_, {"Browse Netscape Program File", ProgramFilters(shell_.settings.ExeName),
                          StartFolderForProgram(PathBytes(programEdit_->text()))});
}

void SetupDialog::BrowseHistory() {
    Browse(historyEdit_, {"Browse Netscape History File", {{"History File", SplitPatterns(shell_.settings.HstName)}},
                          StartFolderForFile(PathBytes(historyEdit_->text()))});
}

void SetupDialog::BrowseOffline() {
    auto chosen =
        shell_.chooser.ChooseDirectory(this, "Select Directory", StartFolderForFolder(PathBytes(offlineEdit_->text())));
    if (!chosen) return;
    if (chosen->empty() || chosen->back() != '/') *chosen += '/';
    offlineEdit_->setText(PathText(*chosen));
}

void SetupDialog::Save() {
    SetupFields fields;
    fields.cacheIndex = PathBytes(cacheEdit_->text());
    fields.browserProgram = PathBytes(programEdit_->text());
    fields.historyFile = PathBytes(historyEdit_->text());
    fields.offlineFolder = PathBytes(offlineEdit_->text());
    // An offline folder in or around the cache is refused as a run would
    // refuse it; the dialog stays open.
    const JobPaths paths{fields.cacheIndex, {}, WithTrailingSeparator(fields.offlineFolder) + kOfflineFolder, {}};
    if (const auto overlap = CheckOutputsApart(paths)) {
        shell_.messages.ShowError(overlap->text);
        return;
    }
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

void SetupDialog::ShowHelp() { shell_.OpenHelp(kSetupHelpContext); }

}  // namespace restash
