// The File menu's commands beside the pages' own: opening a GAF file to look at, and writing the
// unit's two files into a mod's folder.

#include <QUndoStack>

#include "app/AppTexts.h"
#include "app/GafViewer.h"
#include "app/frmMain.h"
#include "gaf/GafReader.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"

void frmMain::OpenGaf() {
    RunningCommand running(*this);
    dialog_->Filter = AppTexts::kGafFilter;
    dialog_->FilterIndex = 1;
    dialog_->DefaultExt = "gaf";
    dialog_->FileName.clear();
    if (dialog_->ShowOpen() == CommonDialog::kCancelError) return;
    const std::string chosen = dialog_->FileName;
    OpenGafFile(chosen);
}

void frmMain::OpenGafFile(const std::string& file) {
    RunningCommand running(*this);
    imagefiles::FileFailure why;
    ShowBusyCursor();
    std::optional<gaf::DecodedGaf> gaf = gaf::ReadGafFile(file, &why);
    ShowNormalCursor();
    if (!gaf) {
        Tell(AppTexts::kGafNotOpened, AppTexts::kProgramTitle, MsgIcon::Warning, imagefiles::ReasonSentence(why));
        return;
    }
    auto* viewer = new GafViewer(std::move(*gaf), file, *dialog_, *prompts_, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

void frmMain::ExportUnitFiles() {
    RunningCommand running(*this);
    if (!AskUnitName(AppTexts::kUnitNotExported)) return;
    classUnitGAF& unit = UnitGAF();
    imagefiles::FileFailure why;
    if (dialog_->ShowFolder(AppTexts::kModFolderTitle, "mod") == CommonDialog::kCancelError) return;
    const std::string folder = dialog_->FolderName;

    ShowBusyCursor();
    SetMessage(AppTexts::kExportingUnit);
    LetEventsThrough();
    const std::optional<UnitFiles> files = ExportUnit(unit, folder, &why);
    ShowNormalCursor();
    if (!files) {
        SetMessage(AppTexts::kReady);
        Tell(AppTexts::kUnitNotExported, AppTexts::kProgramTitle, MsgIcon::Warning, imagefiles::ReasonSentence(why));
        return;
    }
    SetMessage(AppTexts::kCompleted);
    undoStack_->setClean();  // the GAF file holds every picture now
    Tell(std::string(AppTexts::kUnitExported) + "\n" + files->Gadget + "\n" + files->UnitPicture,
         AppTexts::kProgramTitle, MsgIcon::Information);
}
