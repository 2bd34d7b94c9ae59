#include "picture/UnitExport.h"

#include <filesystem>
#include <system_error>

#include "gaf/GafFile.h"
#include "gaf/Windows1252.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modPalettes.h"
#include "picture/UnitName.h"
#include "picture/classUnitGAF.h"

namespace {

using imagefiles::FailureKind;

bool MakeFolder(const std::filesystem::path& folder, imagefiles::FileFailure* Why) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && std::filesystem::is_directory(folder, error)) return true;
    imagefiles::Report(Why, FailureKind::CannotWrite, "the folder " + folder.string() + " cannot be made");
    return false;
}

}  // namespace

bool SaveSlotAsPCX(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename) {
    const Picture* slot = Unit.Slot(TAPic);
    if (!slot) return false;
    return modPCX::WritePCXFile(DestFilename, *slot, modPalettes::GamePalette, kPictureSide, kPictureSide);
}

bool SaveSlotAsPNG(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename) {
    const Picture* slot = Unit.Slot(TAPic);
    if (!slot) return false;
    return modPNG::WritePNGFile(DestFilename, *slot, modPalettes::GamePalette, kPictureSide, kPictureSide);
}

bool SaveFrameAsPNG(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename) {
    if (!Unit.Slot(TAPic)) return false;
    const auto frame = Unit.ReducedFrame(TAPic);
    return modPNG::WritePNGFile(DestFilename, frame, modPalettes::GamePalette, gaf::kFrameSide, gaf::kFrameSide);
}

std::optional<UnitFiles> UnitFilePaths(const std::string& Dir, const std::string& UnitName,
                                       imagefiles::FileFailure* Why) {
    if (const std::optional<std::string> problem = UnitNameProblem(UnitName)) {
        imagefiles::Report(Why, FailureKind::BadName, *problem);
        return std::nullopt;
    }
    const auto encoded = windows1252::FromUtf8(UnitName);
    const std::filesystem::path dir(Dir);
    const std::string upper = windows1252::ToUtf8(windows1252::ToUpper(*encoded));
    return UnitFiles{(dir / "anims" / (UnitName + "_GADGET.GAF")).string(),
                     (dir / "unitpics" / (upper + ".PCX")).string()};
}

std::optional<UnitFiles> ExportUnit(const classUnitGAF& Unit, const std::string& Dir, imagefiles::FileFailure* Why) {
    auto files = UnitFilePaths(Dir, Unit.Name(), Why);
    if (!files) return std::nullopt;
    const std::filesystem::path gadget(files->Gadget);
    const std::filesystem::path picture(files->UnitPicture);
    if (!MakeFolder(gadget.parent_path(), Why) || !MakeFolder(picture.parent_path(), Why)) return std::nullopt;
    if (!Unit.SaveGadget(files->Gadget)) {
        imagefiles::Report(Why, FailureKind::CannotWrite, files->Gadget + " cannot be written");
        return std::nullopt;
    }
    if (!SaveSlotAsPCX(Unit, kNormalPic, files->UnitPicture)) {
        imagefiles::Report(Why, FailureKind::CannotWrite, files->UnitPicture + " cannot be written");
        return std::nullopt;
    }
    return files;
}
