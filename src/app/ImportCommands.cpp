// Importing a picture of any size and kind into a picture page's slot: from the File menu into
// the page shown, or dropped onto a page into that page's slot. The file is decoded once: the
// options dialog shows it, and OK imports that decoded picture with the options chosen, which
// start the next import, also in a later run.

#include <QAction>
#include <QFileInfo>
#include <QTabWidget>

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/RememberedImportChoices.h"
#include "app/frmMain.h"
#include "imagefiles/PictureDecoders.h"
#include "import/ImportSettingsText.h"
#include "picture/FailureReasons.h"
#include "picture/classUnitGAF.h"

std::string frmMain::ImportFailureReason(const std::string& file, const imagefiles::FileFailure& why) {
    return DescribeImportFileFailure(file, why);
}

bool frmMain::IsPicturePage(int page) { return page >= kNormalPage && page <= kDisabledPage; }

void frmMain::UpdateImportCommand() { importCommand_->setEnabled(IsPicturePage(tabs_->currentIndex())); }

void frmMain::RecordImport(int TAPic, const std::function<bool()>& command) {
    if (!IsPicturePage(TAPic)) return;
    RecordSlotChange(QString::fromUtf8(AppTexts::kImportStep), {TAPic}, command);
}

bool frmMain::ImportPictureCommand(int TAPic) {
    RunningCommand running(*this);
    dialog_->Filter = AppTexts::kImportFilter;
    dialog_->FilterIndex = 1;
    dialog_->DefaultExt = AppTexts::kImportDefaultExt;
    dialog_->FileName.clear();
    if (dialog_->ShowOpen() == CommonDialog::kCancelError) return false;
    const std::string chosen = dialog_->FileName;
    return ImportInto(TAPic, chosen);
}

bool frmMain::ImportInto(int TAPic, const std::string& file) {
    RunningCommand running(*this);
    imagefiles::FileFailure why;
    const auto picture = imagefiles::ReadPictureFile(file, &why);
    if (!picture) {
        Tell(AppTexts::kImportFailed, AppTexts::kProgramTitle, MsgIcon::Warning, ImportFailureReason(file, why));
        return false;
    }
    const std::optional<ImportChoices> choices = importOptions_->Ask(file, *picture, RememberedImportChoices::Load());
    if (!choices) return false;
    RememberedImportChoices::Save(*choices);

    import::ConversionReport report;
    if (!UnitGAF().ImportDecodedPicture(*picture, file, TAPic, choices->Settings, &report, &why)) {
        Tell(AppTexts::kImportFailed, AppTexts::kProgramTitle, MsgIcon::Warning, ImportFailureReason(file, why));
        return false;
    }
    PicUnitpic(TAPic)->SetBorder(false);
    ShowSlot(TAPic);
    ShowSource(TAPic);
    ShowNote(QString::fromUtf8(AppTexts::kImportedNote)
                 .arg(QFileInfo(QString::fromStdString(file)).fileName(),
                      QString::fromStdString(import::DescribeReport(report))));
    return true;
}
