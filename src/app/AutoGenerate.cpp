// "Use this image as the basis for the other two": the highlighted and disabled pictures made
// from the picture file opened last, which the shared file dialog still names. When that file
// was imported, it is imported again with the options of that import; otherwise it is loaded
// as a BMP or PCX file, as the dialog's default extension says.

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/AutoGeneration.h"
#include "picture/RoundHalfEven.h"
#include "picture/classUnitGAF.h"

namespace {
constexpr int kAutoSteps = 8;
}

void frmMain::SetAutoProgress(int step) { SetProgress(static_cast<int>(RoundHalfEven(100.0 * step / kAutoSteps))); }

bool frmMain::Command28_Click() {
    RunningCommand running(*this);
    ShowBusyCursor();
    // The dialog's settings as the last file command left them; copies, since a command run
    // while a load yields may change them.
    const std::string lastFile = dialog_->FileName;
    const bool imported = lastImport_ && dialog_->Filter == AppTexts::kImportFilter && lastImport_->File == lastFile;
    const import::ImportSettings importSettings = imported ? lastImport_->Choices.Settings : import::ImportSettings{};
    const PictureFileKind kind = imported                       ? PictureFileKind::Imported
                                 : dialog_->DefaultExt == "pcx" ? PictureFileKind::Pcx
                                                                : PictureFileKind::Bmp;

    classUnitGAF& unit = UnitGAF();
    const auto reportStage = [this](AutoGenerationStage stage) {
        switch (stage) {
            case AutoGenerationStage::LoadingPictures: SetMessage(AppTexts::kLoadingPictures); break;
            case AutoGenerationStage::MakingHighlighted:
                for (int k = 0; k < 3; ++k) PicUnitpic(k)->SetBorder(false);
                SetAutoProgress(3);
                SetMessage(AppTexts::kMakingHighlighted);
                SetAutoProgress(4);
                break;
            case AutoGenerationStage::MakingDisabled:
                SetMessage(AppTexts::kMakingDisabled);
                SetAutoProgress(5);
                break;
        }
        LetEventsThrough();
    };
    imagefiles::FileFailure why;
    const AutoGenerationResult result =
        GenerateHighlightedAndDisabled(unit, lastFile, kind, reportStage, &why, importSettings);
    if (result != AutoGenerationResult::Done) {
        SetAutoProgress(result == AutoGenerationResult::FirstLoadFailed ? 1 : 2);
        ShowNormalCursor();
        Tell(AppTexts::kTaskFailed, AppTexts::kProgramTitle, MsgIcon::None,
             imported ? ImportFailureReason(lastFile, why) : std::string());
        return false;
    }

    SetMessage(AppTexts::kDisplayingNew);
    LetEventsThrough();
    unit.DisplayPicture(kHighlightedPic, *PicUnitpic(kHighlightedPage), 1, false);
    SetAutoProgress(6);
    unit.DisplayPicture(kDisabledPic, *PicUnitpic(kDisabledPage), 1, false);
    SetAutoProgress(7);

    ShowNormalCursor();
    SetMessage(AppTexts::kCompleted);
    SetAutoProgress(8);
    Tell(AppTexts::kDone, AppTexts::kDoneTitle, MsgIcon::Information);
    SetMessage(AppTexts::kReady);
    return true;
}
