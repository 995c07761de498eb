#include "gui/search_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "core/jobs/search_job.h"
#include "gui/failure_box.h"
#include "gui/layout.h"
#include "gui/qt_text.h"

namespace restash {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    Place(label, l, t, w, h);
    return label;
}

QLabel* MakePanel(QWidget* parent, const char* name, int left, int width) {
    auto* panel = new QLabel(QStringLiteral("0"), parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(BoldFont());
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    Place(panel, left, 72, width, 25);
    return panel;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    Place(button, left, 112, 105, 33);
    return button;
}

}  // namespace

SearchDialog::SearchDialog(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Restash - Search Offline Index"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    // The three counters each show the largest count whole; the window
    // widens by what they need beyond their 41 pixels, the buttons stay
    // centred under them.
    const int count = CountPanelRoom(41);
    const int wider = 3 * (count - 41);
    const int width = 425 + wider;
    FixClientSize(this, width, 161);

    textLabel_ = MakeLabel(this, "Label1", "Enter Search String", 16, 10, 249, 20);
    textEdit_ = new QLineEdit(this);
    textEdit_->setObjectName(QStringLiteral("SearchEdit"));
    Place(textEdit_, 16, 32, width - 32, 26);
    textLabel_->setBuddy(textEdit_);
    const int progressLeft = 96 + count + 23;
    const int foundLeft = progressLeft + 64 + count + 15;
    totalLabel_ = MakeLabel(this, "Label2", "Total Pages", 16, 76, 78, 20);
    totalPanel_ = MakePanel(this, "NumHTMPanel", 96, count);
    progressLabel_ = MakeLabel(this, "Label3", "Progress", progressLeft, 76, 62, 20);
    progressPanel_ = MakePanel(this, "ProgressPanel", progressLeft + 64, count);
    foundLabel_ = MakeLabel(this, "Label4", "Pages Found", foundLeft, 76, 86, 20);
    foundPanel_ = MakePanel(this, "FoundPanel", foundLeft + 88, count);
    searchButton_ = MakeButton(this, "SearchButton", "&Search", 24 + wider / 2);
    searchButton_->setDefault(true);
    cancelButton_ = MakeButton(this, "CancelButton", "&Cancel", 160 + wider / 2);
    helpButton_ = MakeButton(this, "HelpButton", "&Help", 296 + wider / 2);

    setTabOrder(textEdit_, searchButton_);
    setTabOrder(searchButton_, cancelButton_);
    setTabOrder(cancelButton_, helpButton_);

    connect(searchButton_, &QPushButton::clicked, this, &SearchDialog::Search);
    connect(cancelButton_, &QPushButton::clicked, this, &SearchDialog::Cancel);
    connect(helpButton_, &QPushButton::clicked, this, &SearchDialog::ShowHelp);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &SearchDialog::ShowHelp);
}

void SearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    Reset();
}

void SearchDialog::Reset() {
    totalPanel_->setText(QString::number(CountListedPages(shell_.settings.OfflineDir)));
    progressPanel_->setText(QStringLiteral("0"));
    foundPanel_->setText(QStringLiteral("0"));
    textEdit_->clear();
    searchButton_->setEnabled(true);
    textEdit_->setEnabled(true);
    textEdit_->setFocus();
}

void SearchDialog::Search() {
    if (searching_) return;
    // Typed text goes to the search in UTF-8: each page is searched for it
    // in the page's own charset.
    const std::string text = textEdit_->text().toStdString();
    progress_.ClearStop();
    searching_ = true;
    searchButton_->setEnabled(false);
    textEdit_->setEnabled(false);
    SearchJob job({shell_.settings.OfflineDir, text, shell_.settings.CacheIndexPath()}, shell_.ServicesFor(progress_),
                  [this](std::uint64_t read, std::uint64_t found) {
                      progressPanel_->setText(QString::number(read));
                      foundPanel_->setText(QString::number(found));
                  });
    const Outcome<SearchSummary> outcome = job.Run();
    searching_ = false;
    searchButton_->setEnabled(true);
    textEdit_->setEnabled(true);
    if (outcome.status == JobStatus::Failed) ShowFailure(shell_.messages, outcome.failure);
    // A Cancel clicked after the last page was read closes the window too.
    if (outcome.status == JobStatus::Stopped || progress_.StopRequested()) {
        done(QDialog::Rejected);
    } else if (outcome.status == JobStatus::Completed && outcome.summary.pagesFound > 0) {
        done(QDialog::Accepted);
    } else {
        // Nothing found, a failure, or a text too short to search: the
        // window stays for another try, with the text field in the focus.
        textEdit_->setFocus();
    }
}

void SearchDialog::Cancel() {
    // During a search the click is seen between two pages; the search ends
    // its results page and then closes the window.
    progress_.RequestStop();
    if (!searching_) done(QDialog::Rejected);
}

void SearchDialog::ShowHelp() { shell_.OpenHelp(kSearchHelpContext); }

}  // namespace restash
