#include "picture/UnitExport.h"

#include <filesystem>
#include <system_error>

#include "gaf/GafFile.h"
#include "gaf/Windows1252.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/Utf8Path.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

namespace {

using imagefiles::FailureKind;

bool MakeFolder(const std::filesystem::path& folder, imagefiles::FileFailure* Why) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && std::filesystem::is_directory(folder, error)) return true;
    imagefiles::Report(Why, FailureKind::CannotWrite,
                       "the folder " + imagefiles::Utf8FromPath(folder) + " cannot be made");
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
    if (UnitName.empty()) {
        imagefiles::Report(Why, FailureKind::BadName, "the unit name is empty");
        return std::nullopt;
    }
    const auto encoded = windows1252::FromUtf8(UnitName);
    if (!encoded) {
        imagefiles::Report(Why, FailureKind::BadName,
                           "the unit name has a character that Windows-1252 has no code for");
        return std::nullopt;
    }
    if (UnitName.find('/') != std::string::npos) {
        imagefiles::Report(Why, FailureKind::BadName, "the unit name holds a '/', which cannot be part of a file name");
        return std::nullopt;
    }
    const std::filesystem::path dir = imagefiles::PathFromUtf8(Dir);
    const std::string upper = windows1252::ToUtf8(windows1252::ToUpper(*encoded));
    return UnitFiles{imagefiles::Utf8FromPath(dir / "anims" / imagefiles::PathFromUtf8(UnitName + "_GADGET.GAF")),
                     imagefiles::Utf8FromPath(dir / "unitpics" / imagefiles::PathFromUtf8(upper + ".PCX"))};
}

std::optional<UnitFiles> ExportUnit(const classUnitGAF& Unit, const std::string& Dir, imagefiles::FileFailure* Why) {
    auto files = UnitFilePaths(Dir, Unit.Name(), Why);
    if (!files) return std::nullopt;
    const std::filesystem::path gadget = imagefiles::PathFromUtf8(files->Gadget);
    const std::filesystem::path picture = imagefiles::PathFromUtf8(files->UnitPicture);
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
