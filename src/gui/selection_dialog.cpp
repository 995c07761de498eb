#include "gui/selection_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include "core/jobs/delete_job.h"
#include "core/jobs/uncache_job.h"
#include "gui/failure_box.h"
#include "gui/layout.h"
#include "gui/progress_dialog.h"
#include "gui/qt_text.h"

namespace restash {

namespace {

constexpr int kCacheLineHeight = 22;

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* hint, int l, int t,
                        int w, int h) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    if (hint) button->setToolTip(QString::fromLatin1(hint));
    Place(button, l, t, w, h);
    return button;
}

QLabel* MakeCountPanel(QWidget* parent, const char* name, int top, int width) {
    auto* panel = new QLabel(QStringLiteral("0"), parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(BoldFont());
    Place(panel, 10, top, width, 19);
    return panel;
}

QLabel* MakeCountLabel(QWidget* parent, const char* caption, int top, int left) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    Place(label, left, top, 48, 19);
    return label;
}

QComboBox* MakeCombo(QWidget* parent, const char* name, const std::vector<std::string>& items, int l, int w) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const std::string& item : items) box->addItem(QString::fromStdString(item));
    Place(box, l, 36, w, 25);
    return box;
}

// The colour of a count panel: grey for a type that is not ticked.
void SetGrey(QLabel* panel, bool grey) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, grey ? QColor(128, 128, 128)
                                                : QApplication::palette().color(QPalette::WindowText));
    panel->setPalette(palette);
}

}  // namespace

SelectionDialog::SelectionDialog(Shell& shell, ProgressDialog& progressWindow, QWidget* parent)
    : QDialog(parent),
      shell_(shell),
      progressWindow_(progressWindow),
      state_(progress_),
      view_(state_),
      messages_(shell.messages) {
    setObjectName(QStringLiteral("SelectionForm"));
    setWindowTitle(QStringLiteral("Restash - Selection Criteria"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    // The count panels show the largest count whole; the window widens by
    // what they need beyond their 57 pixels, and the domain lists share
    // the room above them.
    const int countWidth = CountPanelRoom(57);
    const int wider = countWidth - 57;
    // The line below the controls names the cache.
    FixClientSize(this, 607 + wider, 288 + kCacheLineHeight);

    controls_ = new QFrame(this);
    controls_->setObjectName(QStringLiteral("BackPanel"));
    Place(controls_, 0, 0, 607 + wider, 288);
    messages_.SetLocked(controls_);

    cacheLine_ = new QLabel(this);
    cacheLine_->setObjectName(QStringLiteral("CacheLine"));
    cacheLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(cacheLine_, 8, 286, 591 + wider, kCacheLineHeight - 4);

    BuildLists(wider / 2, wider - wider / 2);
    BuildFilters();
    BuildCounts(countWidth);

    // The busy panel lies over the middle of the two lists; it is not part
    // of controls_, which is disabled while it shows.
    busyPanel_ = new QLabel(QString::fromLatin1(kReadingCaption), this);
    busyPanel_->setObjectName(QStringLiteral("FatPanel"));
    busyPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    busyPanel_->setLineWidth(2);
    busyPanel_->setAlignment(Qt::AlignCenter);
    busyPanel_->setAutoFillBackground(true);
    busyPanel_->setFont(BoldFont());
    Place(busyPanel_, 81 + wider / 2, 76, 305, 57);
    busyPanel_->hide();

    QWidget* order[] = {availableList_, includeButton_, includeAllButton_, excludeButton_, excludeAllButton_,
                        chosenList_, uncacheButton_, deleteButton_, cancelButton_, helpButton_,
                        ageModeBox_, ageNumberBox_, ageUnitBox_, textBox_, mediaBox_, otherBox_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    Connect();
    progress_.onBusy = [this](bool on, std::string_view caption) { ShowBusy(on, caption); };
}

void SelectionDialog::BuildLists(int availableWider, int chosenWider) {
    const int chosenLeft = 258 + availableWider;
    const int listsWider = availableWider + chosenWider;
    availableLabel_ = new QLabel(QStringLiteral("Available Domains"), controls_);
    availableLabel_->setObjectName(QStringLiteral("SrcLabel"));
    availableLabel_->setFont(BoldFont(1));
    Place(availableLabel_, 8, 6, 201 + availableWider, 20);
    availableList_ = new QListWidget(controls_);
    availableList_->setObjectName(QStringLiteral("SrcList"));
    availableList_->setFont(BoldFont(1));
    availableList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Place(availableList_, 8, 28, 201 + availableWider, 153);

    const int moves = 217 + availableWider;
    includeButton_ = MakeButton(controls_, "IncludeBtn", ">", "Add selection", moves, 40, 33, 33);
    includeAllButton_ = MakeButton(controls_, "IncAllBtn", ">>", "Add all", moves, 78, 33, 33);
    excludeButton_ = MakeButton(controls_, "ExcludeBtn", "<", "Remove selection", moves, 116, 33, 33);
    excludeAllButton_ = MakeButton(controls_, "ExAllBtn", "<<", "Remove all", moves, 154, 33, 33);

    chosenLabel_ = new QLabel(QStringLiteral("Uncache/Delete"), controls_);
    chosenLabel_->setObjectName(QStringLiteral("DstLabel"));
    chosenLabel_->setFont(BoldFont(1));
    Place(chosenLabel_, chosenLeft, 6, 201 + chosenWider, 20);
    chosenList_ = new QListWidget(controls_);
    chosenList_->setObjectName(QStringLiteral("DstList"));
    chosenList_->setFont(BoldFont(1));
    chosenList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Place(chosenList_, chosenLeft, 28, 201 + chosenWider, 153);

    const int commands = 474 + listsWider;
    uncacheButton_ =
        MakeButton(controls_, "UncacheButton", "&Uncache", "Uncache the current selection", commands, 28, 121, 33);
    uncacheButton_->setDefault(true);
    deleteButton_ =
        MakeButton(controls_, "DeleteButton", "&Delete", "Delete the current selection", commands, 68, 121, 33);
    cancelButton_ = MakeButton(controls_, "CancelButton", "&Cancel", nullptr, commands, 108, 121, 33);
    helpButton_ = MakeButton(controls_, "HelpButton", "&Help", nullptr, commands, 148, 121, 33);
}

void SelectionDialog::BuildFilters() {
    ageGroup_ = new QGroupBox(QStringLiteral("File Age"), controls_);
    ageGroup_->setObjectName(QStringLiteral("ChooseDates"));
    Place(ageGroup_, 8, 190, 262, 90);
    ageModeBox_ = MakeCombo(ageGroup_, "OldNewBox", SelectionView::AgeModeItems(), 10, 100);
    ageNumberBox_ = MakeCombo(ageGroup_, "AgeBox", AgeChoices(AgeUnit::Hours), 116, 50);
    ageUnitBox_ = MakeCombo(ageGroup_, "HDWBox", SelectionView::AgeUnitItems(), 172, 80);

    typeGroup_ = new QGroupBox(QStringLiteral("File Types"), controls_);
    typeGroup_->setObjectName(QStringLiteral("FtypeBox"));
    Place(typeGroup_, 278, 190, 188, 90);
    textBox_ = new QCheckBox(QStringLiteral("HTML/PlainText/Rich Text"), typeGroup_);
    textBox_->setObjectName(QStringLiteral("TextBox"));
    Place(textBox_, 10, 20, 174, 21);
    mediaBox_ = new QCheckBox(QStringLiteral("Image/Sound/Video Files"), typeGroup_);
    mediaBox_->setObjectName(QStringLiteral("MediaBox"));
    Place(mediaBox_, 10, 42, 174, 21);
    otherBox_ = new QCheckBox(QStringLiteral("Other Files"), typeGroup_);
    otherBox_->setObjectName(QStringLiteral("OthersBox"));
    Place(otherBox_, 10, 64, 174, 21);
}

void SelectionDialog::BuildCounts(int countWidth) {
    countGroup_ = new QGroupBox(QStringLiteral("Number of Files"), controls_);
    countGroup_->setObjectName(QStringLiteral("NumFilesBox"));
    Place(countGroup_, 474, 190, countWidth + 68, 90);
    const int labels = countWidth + 17;
    textCount_ = MakeCountPanel(countGroup_, "NumTextPanel", 20, countWidth);
    MakeCountLabel(countGroup_, "Text", 20, labels);
    mediaCount_ = MakeCountPanel(countGroup_, "NumMediaPanel", 42, countWidth);
    MakeCountLabel(countGroup_, "Media", 42, labels);
    otherCount_ = MakeCountPanel(countGroup_, "NumOtherPanel", 64, countWidth);
    MakeCountLabel(countGroup_, "Other", 64, labels);
}

void SelectionDialog::Connect() {
    connect(includeButton_, &QPushButton::clicked, this, &SelectionDialog::ChooseMarked);
    connect(includeAllButton_, &QPushButton::clicked, this, &SelectionDialog::ChooseAll);
    connect(excludeButton_, &QPushButton::clicked, this, &SelectionDialog::UnchooseMarked);
    connect(excludeAllButton_, &QPushButton::clicked, this, &SelectionDialog::UnchooseAll);
    connect(availableList_, &QListWidget::itemDoubleClicked, this, &SelectionDialog::ChooseMarked);
    connect(chosenList_, &QListWidget::itemDoubleClicked, this, &SelectionDialog::UnchooseMarked);
    connect(availableList_, &QListWidget::itemSelectionChanged, this, [this] { ListSelectionChanged(DomainList::Available); });
    connect(chosenList_, &QListWidget::itemSelectionChanged, this, [this] { ListSelectionChanged(DomainList::Chosen); });
    connect(ageModeBox_, &QComboBox::currentIndexChanged, this, &SelectionDialog::AgeModeChanged);
    connect(ageNumberBox_, &QComboBox::currentIndexChanged, this, &SelectionDialog::AgeNumberChanged);
    connect(ageUnitBox_, &QComboBox::currentIndexChanged, this, &SelectionDialog::AgeUnitChanged);
    connect(textBox_, &QCheckBox::clicked, this, &SelectionDialog::TextTypeToggled);
    connect(mediaBox_, &QCheckBox::clicked, this, &SelectionDialog::MediaTypeToggled);
    connect(otherBox_, &QCheckBox::clicked, this, &SelectionDialog::OtherTypeToggled);
    connect(uncacheButton_, &QPushButton::clicked, this, &SelectionDialog::Uncache);
    connect(deleteButton_, &QPushButton::clicked, this, &SelectionDialog::DeleteChosen);
    connect(cancelButton_, &QPushButton::clicked, this, &SelectionDialog::Cancel);
    connect(helpButton_, &QPushButton::clicked, this, &SelectionDialog::ShowHelp);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &SelectionDialog::ShowHelp);
}

void SelectionDialog::ShowBusy(bool on, std::string_view caption) {
    view_.SetBusy(on, caption);
    if (on) {
        busyPanel_->setText(MessageText(caption));
        busyPanel_->raise();
        busyPanel_->show();
        controls_->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        busyPanel_->hide();
        controls_->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    busyPanel_->repaint();
}

template <typename Op>
void SelectionDialog::Work(Op op) {
    if (working_ > 0 || refreshing_) return;
    ++working_;
    // Locking the controls takes the keyboard focus from them; it comes back
    // to the control that had it, so that a key pressed next goes where the
    // user expects (Enter on the button just used, not on another one).
    const QPointer<QWidget> focused = focusWidget();
    controls_->setEnabled(false);
    try {
        op();
    } catch (const std::exception& e) {
        messages_.ShowError(e.what());
    }
    --working_;
    Refresh();
    if (focused && focused->isEnabled() && focused->isVisible()) focused->setFocus();
}

void SelectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    ResetForCache();
}

void SelectionDialog::ResetForCache() {
    // A window shown before any cache was chosen shows the text form's start.
    const CacheTraits traits = shell_.cache ? shell_.cache->Traits() : NetscapeTraits(IndexFormat::TextIndex);
    Work([this, traits] { state_.Reset(traits, shell_.clock, shell_.settings.GMT); });
    ShowCache();
}

void SelectionDialog::ShowCache() {
    if (!shell_.cache) return cacheLine_->clear();
    const CacheTraits& traits = shell_.cache->Traits();
    const QString text = QStringLiteral("%1 of %2: %3")
                             .arg(QString::fromLatin1(IndexFormatName(traits.format)),
                                  QString::fromStdString(traits.family), PathText(shell_.cache->Location()));
    cacheLine_->setToolTip(text);
    cacheLine_->setText(cacheLine_->fontMetrics().elidedText(text, Qt::ElideMiddle, cacheLine_->contentsRect().width()));
}

void SelectionDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The index is read after the first paint, so the window is on screen
    // with its busy panel while the read works.
    if (shell_.IndexLoadPending) QMetaObject::invokeMethod(this, &SelectionDialog::ReadPendingCache, Qt::QueuedConnection);
}

void SelectionDialog::ReadPendingCache() {
    if (!shell_.IndexLoadPending || working_ > 0 || !shell_.cache) return;
    // Cleared before the read: a repaint while it works must not start another.
    shell_.IndexLoadPending = false;
    // A damaged index is read as far as it can be; the box says so before
    // the lists are used.
    Work([this] { ShowReadWarnings(messages_, state_.Load(shell_.cache).warnings); });
    ShowCache();  // a read may name the browsers better
}

void SelectionDialog::ChooseMarked() {
    Work([this] {
        state_.ChooseMarked();
        view_.MovedFrom(DomainList::Available);
    });
    FocusList();
}

void SelectionDialog::UnchooseMarked() {
    Work([this] {
        state_.UnchooseMarked();
        view_.MovedFrom(DomainList::Chosen);
    });
    FocusList();
}

void SelectionDialog::ChooseAll() {
    Work([this] {
        state_.ChooseAll();
        view_.MovedFrom(DomainList::Available);
    });
    FocusList();
}

void SelectionDialog::UnchooseAll() {
    Work([this] {
        state_.UnchooseAll();
        view_.MovedFrom(DomainList::Chosen);
    });
    FocusList();
}

void SelectionDialog::FocusList() { (view_.Focus() == DomainList::Available ? availableList_ : chosenList_)->setFocus(); }

void SelectionDialog::AgeModeChanged() {
    if (refreshing_) return;
    Work([this] { state_.SetAgeMode(static_cast<AgeMode>(ageModeBox_->currentIndex())); });
}

void SelectionDialog::AgeNumberChanged() {
    if (refreshing_) return;
    Work([this] { state_.SetAgeNumber(ageNumberBox_->currentIndex()); });
}

void SelectionDialog::AgeUnitChanged() {
    if (refreshing_) return;
    Work([this] { state_.SetAgeUnit(static_cast<AgeUnit>(ageUnitBox_->currentIndex())); });
}

void SelectionDialog::TextTypeToggled() { Work([this] { state_.SetTypeIncluded(Category::Text, textBox_->isChecked()); }); }
void SelectionDialog::MediaTypeToggled() { Work([this] { state_.SetTypeIncluded(Category::Media, mediaBox_->isChecked()); }); }
void SelectionDialog::OtherTypeToggled() { Work([this] { state_.SetTypeIncluded(Category::Other, otherBox_->isChecked()); }); }

void SelectionDialog::Uncache() {
    if (working_ > 0) return;
    bool start = false;
    Work([this, &start] {
        UncacheJob job({shell_.settings, {&state_, {}}}, shell_.ServicesFor(progress_, messages_));
        const auto failed = job.Check();
        if (failed) ShowFailure(messages_, failed->failure);
        start = !failed;
    });
    if (!start) return;
    progressWindow_.SetRun([this](ProgressSink& progress) -> std::optional<DialogResult> {
        UncacheJob job({shell_.settings, {&state_, {}}}, shell_.ServicesFor(progress));
        const Outcome<UncacheSummary> outcome = job.RunChecked();
        if (outcome.status == JobStatus::Stopped) return DialogResult::Stopped;
        if (outcome.status == JobStatus::Failed) {
            ShowFailure(shell_.messages, outcome.failure);
            return std::nullopt;
        }
        if (outcome.summary.viewIndex) shell_.ViewIndexRequested = true;
        return outcome.summary.viewIndex ? DialogResult::ViewIndex : DialogResult::DoNotView;
    });
    shell_.UncachePending = true;
    const int result = progressWindow_.exec();
    // A stopped run leaves this window open as it was.
    if (result == Code(DialogResult::ViewIndex) || result == Code(DialogResult::DoNotView)) done(result);
}

void SelectionDialog::DeleteChosen() {
    Work([this] {
        DeleteJob job({shell_.settings, {&state_, {}}}, shell_.ServicesFor(progress_, messages_));
        const Outcome<DeleteSummary> outcome = job.Run();
        if (outcome.status == JobStatus::Failed) ShowFailure(messages_, outcome.failure);
    });
}

void SelectionDialog::Cancel() { done(Code(DialogResult::Cancelled)); }

void SelectionDialog::ShowHelp() { shell_.OpenHelp(kSelectionHelpContext); }

void SelectionDialog::reject() {
    // The window must not close while the index is read or counted.
    if (working_ > 0) return;
    done(Code(DialogResult::Cancelled));
}

void SelectionDialog::done(int result) {
    state_.Release();
    QDialog::done(result);
}

void SelectionDialog::ListSelectionChanged(DomainList list) {
    if (refreshing_) return;
    QListWidget* widget = list == DomainList::Available ? availableList_ : chosenList_;
    state_.ClearMarks(list);
    for (int row = 0; row < widget->count(); ++row)
        if (widget->item(row)->isSelected()) state_.Mark(list, static_cast<std::size_t>(row));
}

void SelectionDialog::RefreshList(QListWidget* widget, const NameList& names) {
    bool same = widget->count() == static_cast<int>(names.size());
    for (int row = 0; same && row < widget->count(); ++row)
        same = widget->item(row)->text() == DataText(names.Name(static_cast<std::size_t>(row)));
    if (!same) {
        widget->clear();
        for (const NameItem& item : names.Items()) widget->addItem(DataText(item.name));
    }
    for (int row = 0; row < widget->count(); ++row)
        widget->item(row)->setSelected(names.IsSelected(static_cast<std::size_t>(row)));
}

void SelectionDialog::Refresh() {
    refreshing_ = true;
    ageModeBox_->setCurrentIndex(view_.AgeModeIndex());
    QStringList ages;
    for (const std::string& item : view_.AgeNumberItems()) ages << QString::fromStdString(item);
    QStringList shownAges;
    for (int i = 0; i < ageNumberBox_->count(); ++i) shownAges << ageNumberBox_->itemText(i);
    if (ages != shownAges) {
        ageNumberBox_->clear();
        ageNumberBox_->addItems(ages);
    }
    ageNumberBox_->setCurrentIndex(view_.AgeNumberIndex());
    ageUnitBox_->setCurrentIndex(view_.AgeUnitIndex());
    ageNumberBox_->setEnabled(view_.AgeControlsEnabled());
    ageUnitBox_->setEnabled(view_.AgeControlsEnabled());

    const std::pair<QCheckBox*, QLabel*> types[] = {
        {textBox_, textCount_}, {mediaBox_, mediaCount_}, {otherBox_, otherCount_}};
    for (const Category c : {Category::Text, Category::Media, Category::Other}) {
        const auto [box, panel] = types[static_cast<int>(c)];
        box->setChecked(state_.TypeIncluded(c));
        const CountPanel shown = view_.Panel(c);
        panel->setText(QString::fromStdString(shown.text));
        SetGrey(panel, shown.grey);
    }

    RefreshList(availableList_, state_.Available());
    RefreshList(chosenList_, state_.Chosen());
    includeButton_->setEnabled(view_.IncludeEnabled());
    includeAllButton_->setEnabled(view_.IncludeEnabled());
    excludeButton_->setEnabled(view_.ExcludeEnabled());
    excludeAllButton_->setEnabled(view_.ExcludeEnabled());

    busyPanel_->setText(MessageText(view_.BusyCaption()));
    busyPanel_->setVisible(view_.BusyShown());
    controls_->setEnabled(view_.ControlsEnabled(working_ > 0));
    refreshing_ = false;
}

}  // namespace restash
