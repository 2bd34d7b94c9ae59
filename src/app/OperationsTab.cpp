// The Operations page: the 64 x 64 preview drawn on every visit, and writing the GAF file.
// Also the busy pointer, which the automatic generation uses too.

#include <QCursor>
#include <QGuiApplication>
#include <QTabWidget>

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "gaf/Windows1252.h"
#include "picture/FailureReasons.h"
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

std::string frmMain::UnstorableNameReason(const std::string& unitName) {
    const std::optional<std::string> character = windows1252::RefusedCharacter(unitName);
    if (!character) return {};
    return QString::fromUtf8(AppTexts::kUnstorableName).arg(QString::fromStdString(*character)).toStdString();
}

std::optional<std::string> frmMain::AskUnitName() {
    std::string unitName = prompts_->InputBox(AppTexts::kUnitNamePrompt, AppTexts::kUnitNameTitle, std::string());
    if (unitName.empty()) {
        Tell(AppTexts::kNoUnitName, AppTexts::kProgramTitle, MsgIcon::None);
        return std::nullopt;
    }
    UnitGAF().Name(unitName);
    return unitName;
}

void frmMain::Command26_Click() {
    RunningCommand running(*this);
    const std::optional<std::string> asked = AskUnitName();
    if (!asked) return;
    const std::string& unitName = *asked;
    classUnitGAF& unit = UnitGAF();
    // A name the file cannot hold is refused now, before the user picks a file for nothing.
    if (const std::string reason = UnstorableNameReason(unitName); !reason.empty()) {
        Tell(AppTexts::kGafFailed, AppTexts::kProgramTitle, MsgIcon::Warning, reason);
        return;
    }

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
