// The commands of the three picture pages. Each works on the slot of its own page
// (TAPic = page index) and shows the result in that page's picture box.

#include <QDir>
#include <QFileInfo>

#include "app/AppTexts.h"
#include "app/CaptionButton.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/CrossSizeText.h"
#include "picture/FailureReasons.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"

namespace {
// How a refused picture's reason names the window's import command.
constexpr ImportCommandWords kImportMenuWords{"File > Import picture...", "Import picture"};
// The places of the PCX and PNG pairs in AppTexts::kSavePictureFilter, counted from 1.
constexpr int32_t kPcxFilterIndex = 2;
constexpr int32_t kPngFilterIndex = 3;
}  // namespace

void frmMain::ShowSlot(int TAPic) { UnitGAF().DisplayPicture(TAPic, *PicUnitpic(TAPic), 1, false); }

bool frmMain::LoadPicture(int TAPic, PictureFormat format) {
    RunningCommand running(*this);
    const bool pcx = format == PictureFormat::Pcx;
    dialog_->Filter = pcx ? AppTexts::kPcxFilter : AppTexts::kBmpFilter;
    dialog_->DefaultExt = pcx ? "pcx" : "bmp";
    dialog_->FileName.clear();
    if (dialog_->ShowOpen() == CommonDialog::kCancelError) return false;

    // A copy: a command run while the load yields may set the dialog's file name anew.
    const std::string chosen = dialog_->FileName;
    classUnitGAF& unit = UnitGAF();
    imagefiles::FileFailure why;
    const bool loaded = pcx ? unit.LoadPCXPicture(chosen, TAPic, &why) : unit.LoadBMPPicture(chosen, TAPic, &why);
    if (!loaded) {
        Tell(AppTexts::kBadPicture, AppTexts::kProgramTitle, MsgIcon::Information,
             DescribeLoadFailure(chosen, why, kImportMenuWords));
        return false;
    }
    PicUnitpic(TAPic)->SetBorder(false);
    ShowSlot(TAPic);
    const QString file = QString::fromStdString(chosen);
    SetSource(TAPic, QDir::toNativeSeparators(file));
    ShowNote(QString::fromUtf8(AppTexts::kLoadedNote).arg(QFileInfo(file).fileName()));
    return true;
}

void frmMain::SavePicture(int TAPic) {
    RunningCommand running(*this);
    dialog_->Filter = AppTexts::kSavePictureFilter;
    dialog_->FilterIndex = 1;
    dialog_->DefaultExt = "bmp";
    dialog_->FileName.clear();
    if (dialog_->ShowSave() == CommonDialog::kCancelError) return;

    // The chosen filter decides the writer, whatever the name's extension. The default extension
    // follows it, so that the automatic generation reads a saved PCX file back as PCX.
    const std::string chosen = dialog_->FileName;
    const int32_t chosenFilter = dialog_->FilterIndex;
    // The other commands offer their first filter and do not set the index themselves.
    dialog_->FilterIndex = 1;
    bool saved = false;
    imagefiles::FileFailure why;
    switch (chosenFilter) {
        case kPcxFilterIndex:
            dialog_->DefaultExt = "pcx";
            saved = SaveSlotAsPCX(UnitGAF(), TAPic, chosen, &why);
            break;
        case kPngFilterIndex:
            dialog_->DefaultExt = "png";
            saved = SaveSlotAsPNG(UnitGAF(), TAPic, chosen, &why);
            break;
        default: saved = UnitGAF().SaveAsBMP(TAPic, chosen, &why); break;
    }
    if (!saved) {
        Tell(AppTexts::kSaveFailed, AppTexts::kProgramTitle, MsgIcon::Warning, DescribeWriteFailure(chosen, why));
    }
}

bool frmMain::AddBorder(int TAPic) {
    RunningCommand running(*this);
    UnitGAF().AddCavedogLikeBorder(TAPic, 1);
    ShowSlot(TAPic);
    return true;
}

bool frmMain::AddCross(int TAPic) {
    RunningCommand running(*this);
    const std::string answer = prompts_->InputBox(kCrossSizePrompt, kCrossSizeTitle, kCrossSizeDefault);
    const CrossSizeAnswer size = ParseCrossSize(answer);
    switch (size.Verdict) {
        case CrossSizeVerdict::Empty:
        case CrossSizeVerdict::OutOfRange: return false;
        case CrossSizeVerdict::NotANumber:
            Tell(kNotANumberMessage, AppTexts::kProgramTitle, MsgIcon::Information);
            return false;
        case CrossSizeVerdict::Accepted: break;
    }
    UnitGAF().AddBlackCross(TAPic, size.Size);
    ShowSlot(TAPic);
    return true;
}

bool frmMain::MakeLighter() {
    RunningCommand running(*this);
    UnitGAF().MakePicLighter(kHighlightedPic);
    ShowSlot(kHighlightedPage);
    // Once per run: lightening twice would wash the picture out.
    pages_[kHighlightedPage].Light->setEnabled(false);
    return true;
}

bool frmMain::MakeGrey() {
    RunningCommand running(*this);
    UnitGAF().MakePicGrey(kDisabledPic);
    ShowSlot(kDisabledPage);
    pages_[kDisabledPage].Grey->setEnabled(false);
    return true;
}

bool frmMain::AddGrid(int TAPic) {
    RunningCommand running(*this);
    UnitGAF().AddGrid(TAPic);
    ShowSlot(TAPic);
    return true;
}
