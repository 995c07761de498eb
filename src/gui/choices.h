#pragma once
// TSelectionForm: "Restash - Selection Criteria". The window shows the
// selection state of the core and calls its operations from its events.
#include <QDialog>

#include "core/selection/cache_selection.h"
#include "gui/dialog_result.h"
#include "gui/event_loop_progress.h"
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

class TMainForm;

class TSelectionForm final : public QDialog {
    Q_OBJECT
public:
    TSelectionForm(Shell& shell, TMainForm& progressWindow, QWidget* parent = nullptr);

    void FormShow();
    void FormPaint();
    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();
    void OldNewBoxChange();
    void AgeBoxChange();
    void HDWBoxChange();
    void TextBoxClick();
    void MediaBoxClick();
    void OthersBoxClick();
    void UncacheButtonClick();
    void DeleteButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();

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

    Shell& shell_;
    TMainForm& progressWindow_;
    WindowProgress progress_;
    CacheSelection state_;
    SelectionView view_;
    int working_ = 0;
    bool refreshing_ = false;

    QFrame* BackPanel;
    QLabel* SrcLabel;
    QLabel* DstLabel;
    QListWidget* SrcList;
    QListWidget* DstList;
    QPushButton* IncludeBtn;
    QPushButton* IncAllBtn;
    QPushButton* ExcludeBtn;
    QPushButton* ExAllBtn;
    QPushButton* UncacheButton;
    QPushButton* DeleteButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
    QGroupBox* ChooseDates;
    QComboBox* OldNewBox;
    QComboBox* AgeBox;
    QComboBox* HDWBox;
    QGroupBox* FtypeBox;
    QCheckBox* TextBox;
    QCheckBox* MediaBox;
    QCheckBox* OthersBox;
    QGroupBox* NumFilesBox;
    QLabel* NumTextPanel;
    QLabel* NumMediaPanel;
    QLabel* NumOtherPanel;
    QLabel* FatPanel;
};

}  // namespace restash
