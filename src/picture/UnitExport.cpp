#include "picture/UnitExport.h"

#include <filesystem>

#include "gaf/GafFile.h"
#include "gaf/Windows1252.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/Utf8Path.h"
#include "imagefiles/modPalettes.h"
#include "picture/UnitName.h"
#include "picture/classUnitGAF.h"

namespace {

using imagefiles::FailureKind;
using imagefiles::FileFailure;

// "<path> could not be written (<reason>); <other> <what became of it>", for an export that failed.
bool ExportFailed(FileFailure* Why, const FileFailure& failure, const std::string& failed, const std::string& other,
                  bool otherInPlace) {
    std::string reason = failure.Detail;
    if (!failure.SystemText.empty())
        reason = reason.empty() || reason == failed ? failure.SystemText : reason + ": " + failure.SystemText;
    imagefiles::Report(Why, FailureKind::CannotWrite,
                       failed + " could not be written" + (reason.empty() ? "" : " (" + reason + ")") + "; " + other +
                           (otherInPlace ? " is in place" : " was not written either"));
    return false;
}

}  // namespace

bool SaveSlotAsPCX(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename, FileFailure* Why) {
    const Picture* slot = Unit.Slot(TAPic);
    if (!slot) return false;
    return modPCX::WritePCXFile(DestFilename, *slot, modPalettes::GamePalette, kPictureSide, kPictureSide, Why);
}

bool SaveSlotAsPNG(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename, FileFailure* Why) {
    const Picture* slot = Unit.Slot(TAPic);
    if (!slot) return false;
    return modPNG::WritePNGFile(DestFilename, *slot, modPalettes::GamePalette, kPictureSide, kPictureSide, std::nullopt,
                                Why);
}

bool SaveFrameAsPNG(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename, FileFailure* Why) {
    if (!Unit.Slot(TAPic)) return false;
    const auto frame = Unit.ReducedFrame(TAPic);
    return modPNG::WritePNGFile(DestFilename, frame, modPalettes::GamePalette, gaf::kFrameSide, gaf::kFrameSide,
                                std::nullopt, Why);
}

std::optional<UnitFiles> UnitFilePaths(const std::string& Dir, const std::string& UnitName,
                                       imagefiles::FileFailure* Why) {
    if (const std::optional<std::string> problem = UnitNameProblem(UnitName)) {
        imagefiles::Report(Why, FailureKind::BadName, *problem);
        return std::nullopt;
    }
    const auto encoded = windows1252::FromUtf8(UnitName);
    const std::filesystem::path dir = imagefiles::PathFromUtf8(Dir);
    const std::string upper = windows1252::ToUtf8(windows1252::ToUpper(*encoded));
    return UnitFiles{imagefiles::Utf8FromPath(dir / "anims" / imagefiles::PathFromUtf8(UnitName + "_GADGET.GAF")),
                     imagefiles::Utf8FromPath(dir / "unitpics" / imagefiles::PathFromUtf8(upper + ".PCX"))};
}

std::optional<UnitFiles> ExportUnit(const classUnitGAF& Unit, const std::string& Dir, FileFailure* Why) {
    auto files = UnitFilePaths(Dir, Unit.Name(), Why);
    if (!files) return std::nullopt;
    const auto gadgetBytes = Unit.GadgetBytes("UseNameEntry", Why);
    if (!gadgetBytes) return std::nullopt;
    const std::vector<uint8_t> pictureBytes =
        modPCX::EncodePcx(*Unit.Slot(kNormalPic), modPalettes::GamePalette, kPictureSide, kPictureSide);
    const std::filesystem::path gadget = imagefiles::PathFromUtf8(files->Gadget);
    const std::filesystem::path picture = imagefiles::PathFromUtf8(files->UnitPicture);

    // Both files whole and on the disk before either is renamed into place.
    FileFailure failure;
    const auto gadgetFolder =
        filebytes::OutputFolder::Open(imagefiles::Utf8FromPath(gadget.parent_path()), true, &failure);
    auto pendingGadget =
        gadgetFolder ? gadgetFolder->Prepare(imagefiles::Utf8FromPath(gadget.filename()), *gadgetBytes, &failure)
                     : std::nullopt;
    if (!pendingGadget) return ExportFailed(Why, failure, files->Gadget, files->UnitPicture, false), std::nullopt;
    const auto pictureFolder =
        filebytes::OutputFolder::Open(imagefiles::Utf8FromPath(picture.parent_path()), true, &failure);
    auto pendingPicture =
        pictureFolder ? pictureFolder->Prepare(imagefiles::Utf8FromPath(picture.filename()), pictureBytes, &failure)
                      : std::nullopt;
    if (!pendingPicture) return ExportFailed(Why, failure, files->UnitPicture, files->Gadget, false), std::nullopt;

    if (!pendingGadget->Commit(&failure))
        return ExportFailed(Why, failure, files->Gadget, files->UnitPicture, false), std::nullopt;
    if (!pendingPicture->Commit(&failure))
        return ExportFailed(Why, failure, files->UnitPicture, files->Gadget, true), std::nullopt;
    return files;
}
