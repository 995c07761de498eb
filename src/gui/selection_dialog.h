#pragma once
// SelectionDialog: "Restash - Selection Criteria". The window shows the
// selection state of the core and calls its operations from its events.
#include <QDialog>

#include "core/selection/cache_selection.h"
#include "gui/dialog_result.h"
#include "gui/event_loop_progress.h"
#include "gui/panel_messages.h"
#include "gui/selection_view.h"
#include "gui/shell.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace restash {

class ProgressDialog;

class SelectionDialog final : public QDialog {
    Q_OBJECT
public:
    SelectionDialog(Shell& shell, ProgressDialog& progressWindow, QWidget* parent = nullptr);

    void ResetForCache();
    void ReadPendingCache();
    void ChooseMarked();
    void UnchooseMarked();
    void ChooseAll();
    void UnchooseAll();
    void AgeModeChanged();
    void AgeNumberChanged();
    void AgeUnitChanged();
    void TextTypeToggled();
    void MediaTypeToggled();
    void OtherTypeToggled();
    void Uncache();
    void DeleteChosen();
    void Cancel();
    void ShowHelp();

    const CacheSelection& state() const { return state_; }
    // True while an operation works (reading, counting, deleting).
    bool Working() const { return working_ > 0; }

    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Runs an operation of the model with the window locked, then shows the
    // new state. Nothing runs while another operation is under way.
    template <typename Op>
    void Work(Op op);
    void Refresh();
    // The keyboard focus to the list the last move left it in.
    void FocusList();
    void RefreshList(QListWidget* widget, const NameList& names);
    void ListSelectionChanged(DomainList list);
    void ShowBusy(bool on, std::string_view caption);
    void ShowCache();
    void BuildLists(int availableWider, int chosenWider);
    void BuildFilters();
    void BuildCounts(int countWidth);
    void Connect();

    Shell& shell_;
    ProgressDialog& progressWindow_;
    WindowProgress progress_;
    CacheSelection state_;
    SelectionView view_;
    // The boxes shown while the controls are locked leave them ungreyed.
    PanelMessages messages_;
    int working_ = 0;
    bool refreshing_ = false;

    QFrame* controls_;
    QLabel* availableLabel_;
    QLabel* chosenLabel_;
    QListWidget* availableList_;
    QListWidget* chosenList_;
    QPushButton* includeButton_;
    QPushButton* includeAllButton_;
    QPushButton* excludeButton_;
    QPushButton* excludeAllButton_;
    QPushButton* uncacheButton_;
    QPushButton* deleteButton_;
    QPushButton* cancelButton_;
    QPushButton* helpButton_;
    QGroupBox* ageGroup_;
    QComboBox* ageModeBox_;
    QComboBox* ageNumberBox_;
    QComboBox* ageUnitBox_;
    QGroupBox* typeGroup_;
    QCheckBox* textBox_;
    QCheckBox* mediaBox_;
    QCheckBox* otherBox_;
    QGroupBox* countGroup_;
    QLabel* textCount_;
    QLabel* mediaCount_;
    QLabel* otherCount_;
    QLabel* busyPanel_;
    QLabel* cacheLine_;  // which cache the lists come from: its format, its browsers, its path
};

}  // namespace restash
