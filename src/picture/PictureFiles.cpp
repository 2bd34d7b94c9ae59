// The picture set's file operations: BMP and PCX loads, BMP save, and the GAF file.

#include <algorithm>
#include <array>
#include <string>

#include "gaf/GafFile.h"
#include "gaf/Windows1252.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPCX.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

namespace {

using imagefiles::FailureKind;
using imagefiles::FileFailure;
using imagefiles::Report;

constexpr const char* kUseNameEntry = "UseNameEntry";

// True for a picture of a slot's size; otherwise WrongSize, naming the picture's size.
bool HasSlotSize(int64_t width, int64_t height, FileFailure* Why) {
    if (width == kPictureSide && height == kPictureSide) return true;
    Report(Why, FailureKind::WrongSize, std::to_string(width) + " x " + std::to_string(height));
    return false;
}

}  // namespace

void classUnitGAF::CopyIntoSlotYielding(const Picture& snapshot, int32_t TAPic) {
    Picture* slot = MutableSlot(TAPic);
    if (!yield_) {  // nothing can run between the pixels: the whole picture at once
        *slot = snapshot;
        return;
    }
    // A command run inside a yield may load another file or change any slot. The copy reads
    // only the caller's private snapshot, and once the last pixel is in, the whole picture is
    // put in place again, so the load always ends with exactly its own picture.
    for (std::size_t k = 0; k < snapshot.size(); ++k) {
        (*slot)[k] = snapshot[k];
        if (yield_) yield_();
    }
    *slot = snapshot;
}

bool classUnitGAF::LoadBMPPicture(const std::string& Filename, int32_t TAPic, FileFailure* Why) {
    if (!modBmp::LoadBMPFile(Filename, true, Why)) return false;
    if (!HasSlotSize(modBmp::BmpHeader().Width, modBmp::BmpHeader().Height, Why)) return false;
    if (!Slot(TAPic)) return true;  // not a slot: nothing to do, and not an error
    const std::vector<uint8_t>& decoded = modBmp::BmpPixels();
    if (decoded.size() < static_cast<std::size_t>(kPicturePixels)) return false;

    Picture snapshot{};
    std::copy_n(decoded.begin(), kPicturePixels, snapshot.begin());
    CopyIntoSlotYielding(snapshot, TAPic);
    return true;
}

bool classUnitGAF::LoadPCXPicture(const std::string& Filename, int32_t TAPic, FileFailure* Why) {
    if (!modPCX::LoadPCXFile(Filename, Why)) return false;
    if (!HasSlotSize(int64_t{modPCX::PcxLastX()} + 1, int64_t{modPCX::PcxLastY()} + 1, Why)) return false;
    if (!Slot(TAPic)) return true;
    const std::vector<uint8_t>& decoded = modPCX::PcxPixels();
    if (decoded.size() < static_cast<std::size_t>(kPicturePixels)) return false;

    // The snapshot is mapped onto the game palette before the copy, with the file's own
    // palette as it was read: the slot ends the same as copying and then remapping, and a
    // command run during the copy's yields cannot be caught by a remap of the whole slot.
    Picture snapshot{};
    std::copy_n(decoded.begin(), kPicturePixels, snapshot.begin());
    const Palette filePalette = modPCX::PcxPalette();
    modPalettes::RemapToPalette(snapshot, filePalette, modPalettes::GamePalette);
    CopyIntoSlotYielding(snapshot, TAPic);
    return true;
}

bool classUnitGAF::SaveAsBMP(int32_t TAPic, const std::string& DestFilename, FileFailure* Why) const {
    const Picture* slot = Slot(TAPic);
    if (!slot) {
        Report(Why, FailureKind::CannotWrite, "no picture " + std::to_string(TAPic));
        return false;
    }
    return modBmp::WriteBMPFile(DestFilename, *slot, modPalettes::GamePalette, kPictureSide, kPictureSide, Why);
}

bool classUnitGAF::SaveGadget(const std::string& Filename, const std::string& UnitName, FileFailure* Why) const {
    const auto bytes = GadgetBytes(UnitName, Why);
    return bytes && filebytes::WriteFileAtomically(Filename, *bytes, Why);
}

std::optional<std::vector<uint8_t>> classUnitGAF::GadgetBytes(const std::string& UnitName, FileFailure* Why) const {
    std::array<gaf::Frame, kSlotCount> frames{};
    for (int32_t slot = 0; slot < kSlotCount; ++slot) frames[static_cast<std::size_t>(slot)] = ReducedFrame(slot);

    const std::string& name = UnitName == kUseNameEntry ? UnitName_ : UnitName;
    // The entry name is single-byte text; a character without a code fails before any file
    // is touched.
    const std::optional<std::string> encoded = windows1252::FromUtf8(name);
    if (!encoded) {
        Report(Why, FailureKind::BadName, windows1252::RefusedCharacter(name).value_or(""));
        return std::nullopt;
    }
    return gaf::BuildGadgetFile(windows1252::ToUpper(*encoded), frames);
}
