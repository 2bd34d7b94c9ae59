#pragma once
// The one unit being edited: its name and its three 96 x 96 build-menu pictures.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gaf/GafFile.h"
#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"
#include "import/ImportSettings.h"
#include "picture/Picture.h"

class PictureBoxPort;  // display/PictureBoxPort.h: where DisplayPicture draws

// The three slots, as TAPic names them.
constexpr int32_t kNormalPic = 0;
constexpr int32_t kHighlightedPic = 1;
constexpr int32_t kDisabledPic = 2;
constexpr int32_t kSlotCount = 3;

class classUnitGAF {
public:
    // Called after every pixel a picture load copies, so that a window can process pending
    // messages meanwhile. A command run inside it may use this object freely: loads copy from
    // a private snapshot of the decoded file.
    using YieldCallback = std::function<void()>;

    // Three white slots, an empty name, and the grey and light palettes derived from the game
    // palette, which must already be filled.
    explicit classUnitGAF(YieldCallback yield = {});

    // Writes the three slots, reduced to 64 x 64, as the game's build-menu GAF file. UnitName
    // "UseNameEntry" (exactly) stands for Name(). All or nothing: false, with the destination
    // left as it was, when the name has a character with no Windows-1252 code (Why: BadName,
    // naming it) or the file cannot be written (CannotWrite).
    bool SaveGadget(const std::string& Filename, const std::string& UnitName = "UseNameEntry",
                    imagefiles::FileFailure* Why = nullptr) const;
    // The bytes SaveGadget writes; nothing (BadName) for a name it refuses.
    std::optional<std::vector<uint8_t>> GadgetBytes(const std::string& UnitName = "UseNameEntry",
                                                    imagefiles::FileFailure* Why = nullptr) const;

    void Name(const std::string& UnitName);  // UTF-8 text
    std::string Name() const;

    void MakePicLighter(int32_t TAPic);
    void MakePicGrey(int32_t TAPic);

    // Loads a 96 x 96 BMP file into slot TAPic; false (slot unchanged) when the file cannot be
    // read (Why: the reader's reason) or is another size (WrongSize, "W x H"). TAPic outside 0
    // to 2: true, nothing changes.
    bool LoadBMPPicture(const std::string& Filename, int32_t TAPic, imagefiles::FileFailure* Why = nullptr);

    // Shows slot TAPic in Pict: Size 0 the 64 x 64 reduction, 1 the full picture, other sizes
    // nothing; CenterPic centres it in the box. Defined with the display surface.
    void DisplayPicture(int32_t TAPic, PictureBoxPort& Pict, int32_t Size = 1, bool CenterPic = false) const;

    // Saves slot TAPic as an 8-bit BMP file in the game palette; false when it cannot be
    // written (CannotWrite; the destination is then left as it was) or TAPic is outside 0 to 2.
    bool SaveAsBMP(int32_t TAPic, const std::string& DestFilename, imagefiles::FileFailure* Why = nullptr) const;

    // As LoadBMPPicture, for 256-colour PCX files.
    bool LoadPCXPicture(const std::string& Filename, int32_t TAPic, imagefiles::FileFailure* Why = nullptr);

    // Imports a picture file of any size and any kind the import takes (PNG, JPEG, BMP, PCX) into
    // slot TAPic: fitted to 96 x 96, over the settings' background, mapped onto the game palette.
    // False, with the slot unchanged and Why saying why, when it fails; the conversion report goes
    // to Report. TAPic outside 0 to 2: the file is imported all the same, nothing changes.
    bool ImportPicture(const std::string& Filename, int32_t TAPic, const import::ImportSettings& Settings,
                       import::ConversionReport* Report = nullptr, imagefiles::FileFailure* Why = nullptr);

    // The automatic generation from an imported file: the file imported once into slots 1 and 2,
    // then slot 1 made lighter and slot 2 grey. A failed import changes nothing.
    bool AutoImport(const std::string& Filename, const import::ImportSettings& Settings,
                    import::ConversionReport* Report = nullptr, imagefiles::FileFailure* Why = nullptr);

    void AddBlackCross(int32_t TAPic, int16_t BorderSize = 2);
    void ResetToBackground(int32_t TAPic, int16_t Color = 255);
    void AddCavedogLikeBorder(int32_t TAPic, int16_t BorderSize = 1);
    void AddGrid(int32_t TAPic);

    // Replaces slot TAPic with Pixels as a whole (an undo puts a slot back this way). TAPic
    // outside 0 to 2: nothing changes.
    void SetSlot(int32_t TAPic, const Picture& Pixels);

    // Read access for display, previews and tests. Slot(TAPic) is nullptr outside 0 to 2.
    const Picture* Slot(int32_t TAPic) const;
    // A copy of slot TAPic; for TAPic outside 0 to 2 an all-black (index 0) picture.
    Picture WorkingCopy(int32_t TAPic) const;
    // Slot TAPic reduced to the 64 x 64 frame the GAF file stores (WorkingCopy's rule for
    // TAPic outside 0 to 2).
    gaf::Frame ReducedFrame(int32_t TAPic) const;

    const Palette& GreyPalette() const { return GreyPalette_; }
    const Palette& LightPalette() const { return LightPalette_; }

private:
    Picture* MutableSlot(int32_t TAPic);
    // Copies pixels into slot TAPic one by one, yielding after each.
    void CopyIntoSlotYielding(const Picture& snapshot, int32_t TAPic);

    Palette GreyPalette_{};
    Palette LightPalette_{};
    Picture NormalPic_{};
    Picture HighlightedPic_{};
    Picture DisabledPic_{};
    std::string UnitName_;
    YieldCallback yield_;
};
