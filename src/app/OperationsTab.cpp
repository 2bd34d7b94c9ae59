// The Operations page: the 64 x 64 preview drawn on every visit, and writing the GAF file.
// Also the busy pointer, which the automatic generation uses too.

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTabWidget>
#include <QUndoStack>

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/FailureReasons.h"
#include "picture/RoundHalfEven.h"
#include "picture/UnitName.h"
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

std::optional<std::string> frmMain::AskUnitName(const char* refusal) {
    std::string unitName = prompts_->InputBox(AppTexts::kUnitNamePrompt, AppTexts::kUnitNameTitle, std::string());
    if (unitName.empty()) {
        Tell(AppTexts::kNoUnitName, AppTexts::kProgramTitle, MsgIcon::None);
        return std::nullopt;
    }
    UnitGAF().Name(unitName);
    // A name the files cannot carry is refused now, before the user looks for a place for nothing.
    if (const std::optional<std::string> problem = UnitNameProblem(unitName)) {
        Tell(refusal, AppTexts::kProgramTitle, MsgIcon::Warning, *problem);
        return std::nullopt;
    }
    // A name longer than the entry is cut, as it always was, but not without a word.
    if (const std::optional<std::string> cut = UnitNameCutWarning(unitName)) {
        if (closePending_ || unloaded_) return std::nullopt;
        const MsgAnswer answer =
            prompts_->MsgBox(*cut, AppTexts::kProgramTitle, MsgIcon::Warning, MsgButtons::OKCancel, std::string());
        if (answer != MsgAnswer::OK) return std::nullopt;
    }
    return unitName;
}

void frmMain::Command26_Click() {
    RunningCommand running(*this);
    const std::optional<std::string> asked = AskUnitName(AppTexts::kGafFailed);
    if (!asked) return;
    const std::string& unitName = *asked;
    classUnitGAF& unit = UnitGAF();

    dialog_->Filter = AppTexts::kGafFilter;
    dialog_->DefaultExt = "gaf";
    dialog_->FileName = unitName + AppTexts::kGadgetSuffix;
    if (dialog_->ShowSave() == CommonDialog::kCancelError) return;
    const std::string chosen = dialog_->FileName;

    ShowBusyCursor();
    LetEventsThrough();
    repaint();
    SetMessage(AppTexts::kSavingGaf);
    imagefiles::FileFailure why;
    if (unit.SaveGadget(chosen, "UseNameEntry", &why)) {
        SetMessage(AppTexts::kCompleted);
        // Everything the GAF file holds is saved now: a quit from here loses nothing.
        undoStack_->setClean();
        ShowNote(QString::fromUtf8(AppTexts::kWroteNote).arg(QFileInfo(QString::fromStdString(chosen)).fileName()));
    } else {
        // Nothing was written.
        ShowNormalCursor();
        Tell(AppTexts::kGafFailed, AppTexts::kProgramTitle, MsgIcon::Warning, DescribeWriteFailure(chosen, why));
        SetMessage(AppTexts::kReady);
    }
    ShowNormalCursor();
    LetEventsThrough();
    repaint();
}
