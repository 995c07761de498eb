#include "gui/search.h"

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

QLabel* MakePanel(QWidget* parent, const char* name, int left) {
    auto* panel = new QLabel(QStringLiteral("0"), parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(BoldFont());
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    Place(panel, left, 72, 41, 25);
    return panel;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    Place(button, left, 112, 105, 33);
    return button;
}

}  // namespace

TSearchForm::TSearchForm(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Restash - Search Offline Index"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 425, 161);

    Label1 = MakeLabel(this, "Label1", "Enter Search String", 16, 10, 249, 20);
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    Place(SearchEdit, 16, 32, 393, 26);
    Label1->setBuddy(SearchEdit);
    Label2 = MakeLabel(this, "Label2", "Total Pages", 16, 76, 78, 20);
    NumHTMPanel = MakePanel(this, "NumHTMPanel", 96);
    Label3 = MakeLabel(this, "Label3", "Progress", 160, 76, 62, 20);
    ProgressPanel = MakePanel(this, "ProgressPanel", 224);
    Label4 = MakeLabel(this, "Label4", "Pages Found", 280, 76, 86, 20);
    FoundPanel = MakePanel(this, "FoundPanel", 368);
    SearchButton = MakeButton(this, "SearchButton", "&Search", 24);
    SearchButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "&Cancel", 160);
    HelpButton = MakeButton(this, "HelpButton", "&Help", 296);

    setTabOrder(SearchEdit, SearchButton);
    setTabOrder(SearchButton, CancelButton);
    setTabOrder(CancelButton, HelpButton);

    connect(SearchButton, &QPushButton::clicked, this, &TSearchForm::SearchButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSearchForm::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TSearchForm::HelpButtonClick);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TSearchForm::HelpButtonClick);
}

void TSearchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    FormShow();
}

void TSearchForm::FormShow() {
    NumHTMPanel->setText(QString::number(CountListedPages(shell_.settings.OfflineDir)));
    ProgressPanel->setText(QStringLiteral("0"));
    FoundPanel->setText(QStringLiteral("0"));
    SearchEdit->clear();
    SearchButton->setEnabled(true);
    SearchEdit->setEnabled(true);
    SearchEdit->setFocus();
}

void TSearchForm::SearchButtonClick() {
    if (searching_) return;
    // Typed text goes to the pages' single-byte text as Latin-1.
    const std::string text = DataBytes(SearchEdit->text());
    progress_.ClearStop();
    searching_ = true;
    SearchButton->setEnabled(false);
    SearchEdit->setEnabled(false);
    SearchJob job({shell_.settings.OfflineDir, text}, shell_.ServicesFor(progress_),
                  [this](std::uint64_t read, std::uint64_t found) {
                      ProgressPanel->setText(QString::number(read));
                      FoundPanel->setText(QString::number(found));
                  });
    const Outcome<SearchSummary> outcome = job.Run();
    searching_ = false;
    SearchButton->setEnabled(true);
    SearchEdit->setEnabled(true);
    if (outcome.status == JobStatus::Failed) return ShowFailure(shell_.messages, outcome.failure);
    // A Cancel clicked after the last page was read closes the window too.
    if (outcome.status == JobStatus::Stopped || progress_.StopRequested()) {
        done(QDialog::Rejected);
    } else if (outcome.summary.pagesFound > 0) {
        done(QDialog::Accepted);
    } else if (outcome.summary.searched) {
        SearchEdit->setFocus();
    }
}

void TSearchForm::CancelButtonClick() {
    // During a search the click is seen between two pages; the search ends
    // its results page and then closes the window.
    progress_.RequestStop();
    if (!searching_) done(QDialog::Rejected);
}

void TSearchForm::HelpButtonClick() { shell_.OpenHelp(kSearchHelpContext); }

}  // namespace restash
