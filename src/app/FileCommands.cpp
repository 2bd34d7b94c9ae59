// The File menu's commands beside the pages' own: opening a GAF file to look at, and writing the
// unit's two files into a mod's folder.

#include "app/AppTexts.h"
#include "app/FailureText.h"
#include "app/GafViewer.h"
#include "app/frmMain.h"
#include "gaf/GafReader.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"

namespace {

// Puts the shared dialog's file settings back when a command that is not a picture load is
// done with it, so that the automatic generation still finds the picture opened last.
class KeptFileSettings {
public:
    explicit KeptFileSettings(CommonDialog& dialog)
        : dialog_(dialog),
          filter_(dialog.Filter),
          defaultExt_(dialog.DefaultExt),
          fileName_(dialog.FileName),
          filterIndex_(dialog.FilterIndex) {}
    ~KeptFileSettings() {
        dialog_.Filter = filter_;
        dialog_.DefaultExt = defaultExt_;
        dialog_.FileName = fileName_;
        dialog_.FilterIndex = filterIndex_;
    }
    KeptFileSettings(const KeptFileSettings&) = delete;
    KeptFileSettings& operator=(const KeptFileSettings&) = delete;

private:
    CommonDialog& dialog_;
    std::string filter_;
    std::string defaultExt_;
    std::string fileName_;
    int32_t filterIndex_;
};

}  // namespace

void frmMain::OpenGaf() {
    RunningCommand running(*this);
    std::string chosen;
    {
        KeptFileSettings kept(*dialog_);
        dialog_->Filter = AppTexts::kGafFilter;
        dialog_->FilterIndex = 1;
        dialog_->DefaultExt = "gaf";
        dialog_->FileName.clear();
        if (dialog_->ShowOpen() == CommonDialog::kCancelError) return;
        chosen = dialog_->FileName;
    }
    OpenGafFile(chosen);
}

void frmMain::OpenGafFile(const std::string& file) {
    RunningCommand running(*this);
    imagefiles::FileFailure why;
    ShowBusyCursor();
    std::optional<gaf::DecodedGaf> gaf = gaf::ReadGafFile(file, &why);
    ShowNormalCursor();
    if (!gaf) {
        Tell(AppTexts::kGafNotOpened, AppTexts::kProgramTitle, MsgIcon::Warning, ReasonSentence(why));
        return;
    }
    auto* viewer = new GafViewer(std::move(*gaf), file, *dialog_, *prompts_, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

void frmMain::ExportUnitFiles() {
    RunningCommand running(*this);
    const std::optional<std::string> asked = AskUnitName();
    if (!asked) return;
    const std::string& unitName = *asked;
    classUnitGAF& unit = UnitGAF();
    // A name the files cannot carry is refused before the user looks for a folder for nothing:
    // one the GAF file cannot hold with the GAF write's own reason, one that is no file name
    // with the export's.
    std::string reason = UnstorableNameReason(unitName);
    imagefiles::FileFailure why;
    if (reason.empty() && !UnitFilePaths(std::string(), unitName, &why)) reason = ReasonSentence(why);
    if (!reason.empty()) {
        Tell(AppTexts::kUnitNotExported, AppTexts::kProgramTitle, MsgIcon::Warning, reason);
        return;
    }
    if (dialog_->ShowFolder(AppTexts::kModFolderTitle, "mod") == CommonDialog::kCancelError) return;
    const std::string folder = dialog_->FolderName;

    ShowBusyCursor();
    SetMessage(AppTexts::kExportingUnit);
    LetEventsThrough();
    const std::optional<UnitFiles> files = ExportUnit(unit, folder, &why);
    ShowNormalCursor();
    if (!files) {
        SetMessage(AppTexts::kReady);
        Tell(AppTexts::kUnitNotExported, AppTexts::kProgramTitle, MsgIcon::Warning, ReasonSentence(why));
        return;
    }
    SetMessage(AppTexts::kCompleted);
    Tell(std::string(AppTexts::kUnitExported) + "\n" + files->Gadget + "\n" + files->UnitPicture,
         AppTexts::kProgramTitle, MsgIcon::Information);
}
