// Importing a picture of any size and kind into a picture page's slot: from the File menu into
// the page shown, or dropped onto a page into that page's slot. The file is decoded once, to
// show the options dialog; OK imports it with the options chosen, which start the next import,
// also in a later run.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

#include "app/AppTexts.h"
#include "app/QtPictureBox.h"
#include "app/RememberedImportChoices.h"
#include "app/frmMain.h"
#include "imagefiles/PictureDecoders.h"
#include "import/ImportSettingsText.h"
#include "picture/classUnitGAF.h"

std::string frmMain::ImportFailureReason(const std::string& file, const imagefiles::FileFailure& why) {
    return QFileInfo(QString::fromStdString(file)).fileName().toStdString() + ": " +
           import::DescribeImportFailure(why) + ".";
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
    if (!UnitGAF().ImportPicture(file, TAPic, choices->Settings, &report, &why)) {
        Tell(AppTexts::kImportFailed, AppTexts::kProgramTitle, MsgIcon::Warning, ImportFailureReason(file, why));
        return false;
    }
    PicUnitpic(TAPic)->SetBorder(false);
    ShowSlot(TAPic);
    const QString path = QString::fromStdString(file);
    SetSource(TAPic, QDir::toNativeSeparators(path));
    ShowNote(QString::fromUtf8(AppTexts::kImportedNote)
                 .arg(QFileInfo(path).fileName(), QString::fromStdString(import::DescribeReport(report))));
    // The dialog names the file imported last, also after a drop, as it names the file loaded
    // last: the automatic generation then imports that file again with the same options.
    dialog_->Filter = AppTexts::kImportFilter;
    dialog_->DefaultExt = AppTexts::kImportDefaultExt;
    dialog_->FileName = file;
    lastImport_ = LastImport{file, *choices};
    return true;
}
