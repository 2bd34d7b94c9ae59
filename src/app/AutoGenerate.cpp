// "Use this image as the basis for the other two": the highlighted and disabled pictures made
// from the file the normal picture came from, read as it was read then (the BMP or PCX reader,
// or the import with the same options). The picture set keeps that file with the slot, so what
// any other page or dialog opened since does not matter.

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/AutoGeneration.h"
#include "picture/FailureReasons.h"
#include "picture/RoundHalfEven.h"
#include "picture/classUnitGAF.h"

namespace {
constexpr int kAutoSteps = 8;
}  // namespace

void frmMain::SetAutoProgress(int step) { SetProgress(static_cast<int>(RoundHalfEven(100.0 * step / kAutoSteps))); }

bool frmMain::Command28_Click() {
    RunningCommand running(*this);
    ShowBusyCursor();
    classUnitGAF& unit = UnitGAF();
    // A copy: a command run while a load yields may load another picture into the normal slot.
    const SlotSource basis = *unit.Source(kNormalPic);
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
    const AutoGenerationResult result = GenerateHighlightedAndDisabled(unit, basis, reportStage, &why);
    if (result != AutoGenerationResult::Done) {
        std::string reason = CommandMessages::kNoNormalSource;
        if (result != AutoGenerationResult::NoSourceFile) {
            SetAutoProgress(result == AutoGenerationResult::FirstLoadFailed ? 1 : 2);
            reason = basis.Kind == PictureFileKind::Imported
                         ? ImportFailureReason(basis.File, why)
                         : DescribeLoadFailure(basis.File, why, AppTexts::kCommandWords);
        }
        ShowNormalCursor();
        Tell(AppTexts::kTaskFailed, AppTexts::kProgramTitle, MsgIcon::None, reason);
        // Nothing is under way any more.
        SetMessage(AppTexts::kReady);
        SetProgress(0);
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
