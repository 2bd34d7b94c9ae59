#pragma once
// The unit's pictures in the forms the game and other programs take: a slot as a PCX or PNG
// file, a slot's build-menu frame as a PNG file, and the two files a unit needs in a mod: its
// build-menu GAF file and its 96 x 96 information picture.

#include <cstdint>
#include <optional>
#include <string>

#include "imagefiles/FileFailure.h"

class classUnitGAF;

// Slot TAPic as a 96 x 96 PCX or PNG file in the game palette, written all or nothing. False
// when TAPic is outside 0 to 2 or the file cannot be written (the destination is then left as it
// was).
bool SaveSlotAsPCX(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename,
                   imagefiles::FileFailure* Why = nullptr);
bool SaveSlotAsPNG(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename,
                   imagefiles::FileFailure* Why = nullptr);

// Slot TAPic reduced to the 64 x 64 frame the GAF file holds, as a PNG file in the game palette
// without transparency, the same file extracting that frame from the GAF file gives.
bool SaveFrameAsPNG(const classUnitGAF& Unit, int32_t TAPic, const std::string& DestFilename,
                    imagefiles::FileFailure* Why = nullptr);

// Where a unit's files go inside a mod's folder.
struct UnitFiles {
    std::string Gadget;       // Dir/anims/<name>_GADGET.GAF, the name as given
    std::string UnitPicture;  // Dir/unitpics/<NAME>.PCX, the name upper-cased
};

// The two paths for UnitName (UTF-8; upper-cased by the Windows-1252 letter pairs, as in the GAF
// file). Nothing, with Why's Kind BadName, when the name is empty, has a character Windows-1252
// has no code for, or holds a '/', which would put the file in another folder.
std::optional<UnitFiles> UnitFilePaths(const std::string& Dir, const std::string& UnitName,
                                       imagefiles::FileFailure* Why = nullptr);

// Creates Dir/anims and Dir/unitpics as needed and writes the unit's GAF file (exactly what
// SaveGadget writes) and its normal slot as the PCX information picture, as one unit: both are
// written to temporary files and put on the disk first, and only then renamed into place, so a
// full disk or a denied folder leaves both destinations as they were. The name is checked before
// anything is made. On failure Why says what: BadName, or CannotWrite with a Detail that names
// the file that failed with its reason and says of the other whether it is in place
// ("... could not be written (No space left on device); ... was not written either"): the
// system's words sit inside that sentence, so SystemText stays empty.
std::optional<UnitFiles> ExportUnit(const classUnitGAF& Unit, const std::string& Dir,
                                    imagefiles::FileFailure* Why = nullptr);
