#include "gui/choices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

#include "core/jobs/delete_job.h"
#include "core/jobs/uncache_job.h"
#include "gui/failure_box.h"
#include "gui/layout.h"
#include "gui/mainwin.h"
#include "gui/qt_text.h"

namespace restash {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* hint, int l, int t,
                        int w, int h) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    if (hint) button->setToolTip(QString::fromLatin1(hint));
    Place(button, l, t, w, h);
    return button;
}

QLabel* MakeCountPanel(QWidget* parent, const char* name, int top) {
    auto* panel = new QLabel(QStringLiteral("0"), parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(BoldFont());
    Place(panel, 10, top, 57, 19);
    return panel;
}

QLabel* MakeCountLabel(QWidget* parent, const char* caption, int top) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    Place(label, 74, top, 48, 19);
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

TSelectionForm::TSelectionForm(Shell& shell, TMainForm& progressWindow, QWidget* parent)
    : QDialog(parent), shell_(shell), progressWindow_(progressWindow), state_(progress_), view_(state_) {
    setObjectName(QStringLiteral("SelectionForm"));
    setWindowTitle(QStringLiteral("Restash - Selection Criteria"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 607, 288);

    BackPanel = new QFrame(this);
    BackPanel->setObjectName(QStringLiteral("BackPanel"));
    Place(BackPanel, 0, 0, 607, 288);

    SrcLabel = new QLabel(QStringLiteral("Available Domains"), BackPanel);
    SrcLabel->setObjectName(QStringLiteral("SrcLabel"));
    SrcLabel->setFont(BoldFont(1));
    Place(SrcLabel, 8, 6, 201, 20);
    SrcList = new QListWidget(BackPanel);
    SrcList->setObjectName(QStringLiteral("SrcList"));
    SrcList->setFont(BoldFont(1));
    SrcList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Place(SrcList, 8, 28, 201, 153);

    IncludeBtn = MakeButton(BackPanel, "IncludeBtn", ">", "Add selection", 217, 40, 33, 33);
    IncAllBtn = MakeButton(BackPanel, "IncAllBtn", ">>", "Add all", 217, 78, 33, 33);
    ExcludeBtn = MakeButton(BackPanel, "ExcludeBtn", "<", "Remove selection", 217, 116, 33, 33);
    ExAllBtn = MakeButton(BackPanel, "ExAllBtn", "<<", "Remove all", 217, 154, 33, 33);

    DstLabel = new QLabel(QStringLiteral("Uncache/Delete"), BackPanel);
    DstLabel->setObjectName(QStringLiteral("DstLabel"));
    DstLabel->setFont(BoldFont(1));
    Place(DstLabel, 258, 6, 201, 20);
    DstList = new QListWidget(BackPanel);
    DstList->setObjectName(QStringLiteral("DstList"));
    DstList->setFont(BoldFont(1));
    DstList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Place(DstList, 258, 28, 201, 153);

    UncacheButton = MakeButton(BackPanel, "UncacheButton", "&Uncache", "Uncache the current selection", 474, 28, 121, 33);
    UncacheButton->setDefault(true);
    DeleteButton = MakeButton(BackPanel, "DeleteButton", "&Delete", "Delete the current selection", 474, 68, 121, 33);
    CancelButton = MakeButton(BackPanel, "CancelButton", "&Cancel", nullptr, 474, 108, 121, 33);
    HelpButton = MakeButton(BackPanel, "HelpButton", "&Help", nullptr, 474, 148, 121, 33);

    ChooseDates = new QGroupBox(QStringLiteral("File Age"), BackPanel);
    ChooseDates->setObjectName(QStringLiteral("ChooseDates"));
    Place(ChooseDates, 8, 190, 262, 90);
    OldNewBox = MakeCombo(ChooseDates, "OldNewBox", SelectionView::AgeModeItems(), 10, 100);
    AgeBox = MakeCombo(ChooseDates, "AgeBox", AgeChoices(AgeUnit::Hours), 116, 50);
    HDWBox = MakeCombo(ChooseDates, "HDWBox", SelectionView::AgeUnitItems(), 172, 80);

    FtypeBox = new QGroupBox(QStringLiteral("File Types"), BackPanel);
    FtypeBox->setObjectName(QStringLiteral("FtypeBox"));
    Place(FtypeBox, 278, 190, 188, 90);
    TextBox = new QCheckBox(QStringLiteral("HTML/PlainText/Rich Text"), FtypeBox);
    TextBox->setObjectName(QStringLiteral("TextBox"));
    Place(TextBox, 10, 20, 174, 21);
    MediaBox = new QCheckBox(QStringLiteral("Image/Sound/Video Files"), FtypeBox);
    MediaBox->setObjectName(QStringLiteral("MediaBox"));
    Place(MediaBox, 10, 42, 174, 21);
    OthersBox = new QCheckBox(QStringLiteral("Other Files"), FtypeBox);
    OthersBox->setObjectName(QStringLiteral("OthersBox"));
    Place(OthersBox, 10, 64, 174, 21);

    NumFilesBox = new QGroupBox(QStringLiteral("Number of Files"), BackPanel);
    NumFilesBox->setObjectName(QStringLiteral("NumFilesBox"));
    Place(NumFilesBox, 474, 190, 125, 90);
    NumTextPanel = MakeCountPanel(NumFilesBox, "NumTextPanel", 20);
    MakeCountLabel(NumFilesBox, "Text", 20);
    NumMediaPanel = MakeCountPanel(NumFilesBox, "NumMediaPanel", 42);
    MakeCountLabel(NumFilesBox, "Media", 42);
    NumOtherPanel = MakeCountPanel(NumFilesBox, "NumOtherPanel", 64);
    MakeCountLabel(NumFilesBox, "Other", 64);

    // The busy panel lies over the middle of the two lists; it is not part
    // of BackPanel, which is disabled while it shows.
    FatPanel = new QLabel(QString::fromLatin1(kReadingCaption), this);
    FatPanel->setObjectName(QStringLiteral("FatPanel"));
    FatPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    FatPanel->setLineWidth(2);
    FatPanel->setAlignment(Qt::AlignCenter);
    FatPanel->setAutoFillBackground(true);
    FatPanel->setFont(BoldFont());
    Place(FatPanel, 81, 76, 305, 57);
    FatPanel->hide();

    QWidget* order[] = {SrcList, IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn, DstList, UncacheButton,
                        DeleteButton, CancelButton, HelpButton, OldNewBox, AgeBox, HDWBox, TextBox,
                        MediaBox, OthersBox};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    connect(IncludeBtn, &QPushButton::clicked, this, &TSelectionForm::IncludeBtnClick);
    connect(IncAllBtn, &QPushButton::clicked, this, &TSelectionForm::IncAllBtnClick);
    connect(ExcludeBtn, &QPushButton::clicked, this, &TSelectionForm::ExcludeBtnClick);
    connect(ExAllBtn, &QPushButton::clicked, this, &TSelectionForm::ExcAllBtnClick);
    connect(SrcList, &QListWidget::itemDoubleClicked, this, &TSelectionForm::IncludeBtnClick);
    connect(DstList, &QListWidget::itemDoubleClicked, this, &TSelectionForm::ExcludeBtnClick);
    connect(SrcList, &QListWidget::itemSelectionChanged, this, [this] { ListSelectionChanged(DomainList::Available); });
    connect(DstList, &QListWidget::itemSelectionChanged, this, [this] { ListSelectionChanged(DomainList::Chosen); });
    connect(OldNewBox, &QComboBox::currentIndexChanged, this, &TSelectionForm::OldNewBoxChange);
    connect(AgeBox, &QComboBox::currentIndexChanged, this, &TSelectionForm::AgeBoxChange);
    connect(HDWBox, &QComboBox::currentIndexChanged, this, &TSelectionForm::HDWBoxChange);
    connect(TextBox, &QCheckBox::clicked, this, &TSelectionForm::TextBoxClick);
    connect(MediaBox, &QCheckBox::clicked, this, &TSelectionForm::MediaBoxClick);
    connect(OthersBox, &QCheckBox::clicked, this, &TSelectionForm::OthersBoxClick);
    connect(UncacheButton, &QPushButton::clicked, this, &TSelectionForm::UncacheButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TSelectionForm::DeleteButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSelectionForm::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TSelectionForm::HelpButtonClick);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TSelectionForm::HelpButtonClick);

    progress_.onBusy = [this](bool on, std::string_view caption) { ShowBusy(on, caption); };
}

void TSelectionForm::ShowBusy(bool on, std::string_view caption) {
    view_.SetBusy(on, caption);
    if (on) {
        FatPanel->setText(MessageText(caption));
        FatPanel->raise();
        FatPanel->show();
        BackPanel->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        FatPanel->hide();
        BackPanel->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    FatPanel->repaint();
}

template <typename Op>
void TSelectionForm::Work(Op op) {
    if (working_ > 0 || refreshing_) return;
    ++working_;
    BackPanel->setEnabled(false);
    try {
        op();
    } catch (const std::exception& e) {
        shell_.messages.ShowError(e.what());
    }
    --working_;
    Refresh();
}

void TSelectionForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    FormShow();
}

void TSelectionForm::FormShow() {
    // A window shown before any cache was chosen shows the text form's start.
    const CacheTraits traits = shell_.cache ? shell_.cache->Traits() : NetscapeTraits(IndexFormat::TextIndex);
    Work([this, traits] { state_.Reset(traits, shell_.clock, shell_.settings.GMT); });
}

void TSelectionForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The index is read after the first paint, so the window is on screen
    // with its busy panel while the read works.
    if (shell_.IndexLoadPending) QMetaObject::invokeMethod(this, &TSelectionForm::FormPaint, Qt::QueuedConnection);
}

void TSelectionForm::FormPaint() {
    if (!shell_.IndexLoadPending || working_ > 0 || !shell_.cache) return;
    // Cleared before the read: a repaint while it works must not start another.
    shell_.IndexLoadPending = false;
    Work([this] { state_.Load(shell_.cache); });
}

void TSelectionForm::IncludeBtnClick() {
    Work([this] {
        state_.ChooseMarked();
        view_.MovedFrom(DomainList::Available);
    });
    FocusList();
}

void TSelectionForm::ExcludeBtnClick() {
    Work([this] {
        state_.UnchooseMarked();
        view_.MovedFrom(DomainList::Chosen);
    });
    FocusList();
}

void TSelectionForm::IncAllBtnClick() {
    Work([this] {
        state_.ChooseAll();
        view_.MovedFrom(DomainList::Available);
    });
    FocusList();
}

void TSelectionForm::ExcAllBtnClick() {
    Work([this] {
        state_.UnchooseAll();
        view_.MovedFrom(DomainList::Chosen);
    });
    FocusList();
}

void TSelectionForm::FocusList() { (view_.Focus() == DomainList::Available ? SrcList : DstList)->setFocus(); }

void TSelectionForm::OldNewBoxChange() {
    if (refreshing_) return;
    Work([this] { state_.SetAgeMode(static_cast<AgeMode>(OldNewBox->currentIndex())); });
}

void TSelectionForm::AgeBoxChange() {
    if (refreshing_) return;
    Work([this] { state_.SetAgeNumber(AgeBox->currentIndex()); });
}

void TSelectionForm::HDWBoxChange() {
    if (refreshing_) return;
    Work([this] { state_.SetAgeUnit(static_cast<AgeUnit>(HDWBox->currentIndex())); });
}

void TSelectionForm::TextBoxClick() { Work([this] { state_.SetTypeIncluded(Category::Text, TextBox->isChecked()); }); }
void TSelectionForm::MediaBoxClick() { Work([this] { state_.SetTypeIncluded(Category::Media, MediaBox->isChecked()); }); }
void TSelectionForm::OthersBoxClick() { Work([this] { state_.SetTypeIncluded(Category::Other, OthersBox->isChecked()); }); }

void TSelectionForm::UncacheButtonClick() {
    if (working_ > 0) return;
    bool start = false;
    Work([this, &start] {
        UncacheJob job({shell_.settings, {&state_, {}}}, shell_.ServicesFor(progress_));
        const auto failed = job.Check();
        if (failed) ShowFailure(shell_.messages, failed->failure);
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

void TSelectionForm::DeleteButtonClick() {
    Work([this] {
        DeleteJob job({shell_.settings, {&state_, {}}}, shell_.ServicesFor(progress_));
        const Outcome<DeleteSummary> outcome = job.Run();
        if (outcome.status == JobStatus::Failed) ShowFailure(shell_.messages, outcome.failure);
    });
}

void TSelectionForm::CancelButtonClick() { done(Code(DialogResult::Cancelled)); }

void TSelectionForm::HelpButtonClick() { shell_.OpenHelp(kSelectionHelpContext); }

void TSelectionForm::reject() {
    // The window must not close while the index is read or counted.
    if (working_ > 0) return;
    done(Code(DialogResult::Cancelled));
}

void TSelectionForm::done(int result) {
    state_.Release();
    QDialog::done(result);
}

void TSelectionForm::ListSelectionChanged(DomainList list) {
    if (refreshing_) return;
    QListWidget* widget = list == DomainList::Available ? SrcList : DstList;
    state_.ClearMarks(list);
    for (int row = 0; row < widget->count(); ++row)
        if (widget->item(row)->isSelected()) state_.Mark(list, static_cast<std::size_t>(row));
}

void TSelectionForm::RefreshList(QListWidget* widget, const NameList& names) {
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

void TSelectionForm::Refresh() {
    refreshing_ = true;
    OldNewBox->setCurrentIndex(view_.AgeModeIndex());
    QStringList ages;
    for (const std::string& item : view_.AgeNumberItems()) ages << QString::fromStdString(item);
    QStringList shownAges;
    for (int i = 0; i < AgeBox->count(); ++i) shownAges << AgeBox->itemText(i);
    if (ages != shownAges) {
        AgeBox->clear();
        AgeBox->addItems(ages);
    }
    AgeBox->setCurrentIndex(view_.AgeNumberIndex());
    HDWBox->setCurrentIndex(view_.AgeUnitIndex());
    AgeBox->setEnabled(view_.AgeControlsEnabled());
    HDWBox->setEnabled(view_.AgeControlsEnabled());

    const std::pair<QCheckBox*, QLabel*> types[] = {
        {TextBox, NumTextPanel}, {MediaBox, NumMediaPanel}, {OthersBox, NumOtherPanel}};
    for (const Category c : {Category::Text, Category::Media, Category::Other}) {
        const auto [box, panel] = types[static_cast<int>(c)];
        box->setChecked(state_.TypeIncluded(c));
        const CountPanel shown = view_.Panel(c);
        panel->setText(QString::fromStdString(shown.text));
        SetGrey(panel, shown.grey);
    }

    RefreshList(SrcList, state_.Available());
    RefreshList(DstList, state_.Chosen());
    IncludeBtn->setEnabled(view_.IncludeEnabled());
    IncAllBtn->setEnabled(view_.IncludeEnabled());
    ExcludeBtn->setEnabled(view_.ExcludeEnabled());
    ExAllBtn->setEnabled(view_.ExcludeEnabled());

    FatPanel->setText(MessageText(view_.BusyCaption()));
    FatPanel->setVisible(view_.BusyShown());
    BackPanel->setEnabled(view_.ControlsEnabled(working_ > 0));
    refreshing_ = false;
}

}  // namespace restash
