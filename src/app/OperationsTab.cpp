// The Operations page: the 64 x 64 preview drawn on every visit, and writing the GAF file.
// Also the busy pointer, which the automatic generation uses too.

#include <QCursor>
#include <QGuiApplication>
#include <QTabWidget>

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/RoundHalfEven.h"
#include "picture/classUnitGAF.h"

void frmMain::ShowBusyCursor() {
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void frmMain::ShowNormalCursor() {
    while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

void frmMain::SSTab1_Click(int /*PreviousTab*/) {
    RunningCommand running(*this);
    ShowNormalCursor();
    SetMessage(AppTexts::kReady);
    SetProgress(0);
    if (tabs_->currentIndex() != kOperationsPage) return;

    ShowBusyCursor();
    SetMessage(AppTexts::kMakingPreview);
    LetEventsThrough();
    classUnitGAF& unit = UnitGAF();
    for (int i = 0; i < 3; ++i) {
        unit.DisplayPicture(i, *Picture1(i), 0, true);
        SetProgress(static_cast<int>(RoundHalfEven(100.0 * (i + 1) / 3)));
    }
    SetMessage(AppTexts::kCompleted);
    ShowNormalCursor();
}

void frmMain::Command26_Click() {
    RunningCommand running(*this);
    const std::string unitName =
        prompts_->InputBox(AppTexts::kUnitNamePrompt, AppTexts::kUnitNameTitle, std::string());
    if (unitName.empty()) {
        Tell(AppTexts::kNoUnitName, AppTexts::kProgramTitle, MsgIcon::None);
        return;
    }
    classUnitGAF& unit = UnitGAF();
    unit.Name(unitName);

    dialog_->Filter = AppTexts::kGafFilter;
    dialog_->DefaultExt = "gaf";
    dialog_->FileName = unitName + AppTexts::kGadgetSuffix;
    if (dialog_->ShowSave() == CommonDialog::kCancelError) return;
    const std::string chosen = dialog_->FileName;

    ShowBusyCursor();
    LetEventsThrough();
    repaint();
    SetMessage(AppTexts::kSavingGaf);
    if (unit.SaveGadget(chosen)) {
        SetMessage(AppTexts::kCompleted);
    } else {
        // Nothing was written (a name the file cannot store, or a write that failed).
        ShowNormalCursor();
        Tell(AppTexts::kGafFailed, AppTexts::kProgramTitle, MsgIcon::Warning);
        SetMessage(AppTexts::kReady);
    }
    ShowNormalCursor();
    LetEventsThrough();
    repaint();
}
