#pragma once
// What the web page asks of the core, as plain C++: the page's one picture set and its one open
// GAF file, and every command the page offers, each a direct call of the core function the
// window and iconwright-cli call for the same command. Files are paths in the page's in-memory
// file system: the page puts a chosen or dropped file there under its own name, and takes a
// written file from there to offer it for download.
//
// Results carry the core's own texts: Message the command's message, Reason the core's reason
// beneath it. Nothing here decides anything the core does not.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gaf/GafReader.h"
#include "imagefiles/RgbaPicture.h"
#include "import/ImportSettings.h"
#include "picture/classUnitGAF.h"

namespace web {

struct Outcome {
    bool Ok = false;
    std::string Message;  // the command's message, when it failed
    std::string Reason;   // the core's reason beneath it (may be empty)
    std::string Report;   // an import's conversion report, as iconwright-cli prints it
};

// The import options as words, the same words iconwright-cli's steps take ("contain", "on",
// "#202830", "0,240-255", "floyd-steinberg"); BackgroundFile is a path, or empty for the colour.
struct ImportWords {
    std::string Fit = "contain";
    std::string Trim = "off";
    std::string Background = "#000000";
    std::string BackgroundFile;
    std::string Match = "rgb";
    std::string Dither = "none";
    std::string Avoid = "none";
    std::string Strict = "off";
};

// An import shown before it is made: the fitted picture over its background (96 x 96 RGBA),
// the game-palette picture it becomes, and its report.
struct ImportPreview {
    Outcome Result;
    std::vector<uint8_t> Composited;
    std::vector<uint8_t> Indices;
};

class PageSession {
public:
    // Fills the game palette (once per page) and starts with three white pictures.
    PageSession();

    // The kind of picture file the first bytes of a file announce: "GAF", "PNG", ..., "unknown".
    static std::string FileKindOf(const std::vector<uint8_t>& Start);

    // The game palette as 256 RGBA colours (alpha 255), for drawing indices on a canvas.
    std::vector<uint8_t> PaletteRgba() const;

    std::vector<uint8_t> Slot(int32_t TAPic) const;
    void SetSlot(int32_t TAPic, const std::vector<uint8_t>& Pixels);
    // The 64 x 64 frame the GAF file holds for slot TAPic.
    std::vector<uint8_t> GafFrame(int32_t TAPic) const;
    void SetName(const std::string& UnitName);

    Outcome LoadPicture(int32_t TAPic, const std::string& Path, bool Pcx);
    // Format "bmp", "pcx" or "png".
    Outcome SavePicture(int32_t TAPic, const std::string& Path, const std::string& Format) const;

    void AddBorder(int32_t TAPic);
    void AddGrid(int32_t TAPic);
    void MakeLighter(int32_t TAPic);
    void MakeGrey(int32_t TAPic);
    // The cross's size as the user typed it. Not Ok and no Message: nothing to do (an empty
    // answer, a size out of range).
    Outcome AddCross(int32_t TAPic, const std::string& SizeText);

    ImportPreview PreviewImport(const std::string& Path, const ImportWords& Words);
    Outcome ImportPicture(int32_t TAPic, const std::string& Path, const ImportWords& Words);
    // Kind "bmp", "pcx" or "import": how the normal picture's file was read.
    Outcome GenerateFromBasis(const std::string& Path, const std::string& Kind, const ImportWords& Words);

    Outcome WriteGaf(const std::string& Path) const;
    // Writes Dir/anims/<name>_GADGET.GAF and Dir/unitpics/<NAME>.PCX; the two paths in Files.
    Outcome ExportUnit(const std::string& Dir, std::vector<std::string>* Files) const;

    Outcome OpenGaf(const std::string& Path);
    const gaf::DecodedGaf* OpenedGaf() const { return gaf_ ? &*gaf_ : nullptr; }
    // Every frame of the open GAF file as Dir/<entry>/<n>.png; the paths in Files, in order.
    Outcome ExtractGaf(const std::string& Dir, std::vector<std::string>* Files) const;

private:
    // The words made settings; Reason says which word is wrong.
    std::optional<import::ImportSettings> Settings(const ImportWords& Words, Outcome* Failure);

    // Declared first, so that the game palette is filled before the picture set is made.
    bool paletteFilled_;
    classUnitGAF unit_;
    std::optional<gaf::DecodedGaf> gaf_;
    // The picture last decoded for a preview, so that changing an option does not decode again.
    std::string previewPath_;
    std::optional<imagefiles::RgbaPicture> previewPicture_;
    std::string backgroundPath_;
    std::shared_ptr<const imagefiles::RgbaPicture> backgroundFrame_;
};

}  // namespace web
