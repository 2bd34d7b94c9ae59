#pragma once
// Where a slot's picture came from, kept with the slot so that every front end can make the
// other two pictures again from the normal one's file, and say what a picture box shows.

#include <string>

#include "import/ImportSettings.h"
#include "picture/Picture.h"

// How a picture file is read: by the palette readers as a BMP or a PCX file, or imported (any
// kind the import takes, fitted and mapped with the settings given).
enum class PictureFileKind { Bmp, Pcx, Imported };

struct SlotSource {
    enum class Origin {
        None,       // white as created, or nothing the program can read again
        File,       // loaded, imported or saved as File, read as Kind
        Generated,  // made by the automatic generation from the normal picture's file
    };
    Origin From = Origin::None;
    std::string File;  // UTF-8
    PictureFileKind Kind = PictureFileKind::Bmp;
    import::ImportSettings Settings;  // how an imported file was imported

    static SlotSource FromFile(const std::string& file, PictureFileKind kind,
                               const import::ImportSettings& settings = {}) {
        return SlotSource{Origin::File, file, kind, settings};
    }
    static SlotSource Generation() { return SlotSource{Origin::Generated, {}, PictureFileKind::Bmp, {}}; }
};

bool operator==(const SlotSource& a, const SlotSource& b);

// Everything the picture set keeps for one slot: an undo step puts all of it back.
struct SlotRecord {
    Picture Pixels{};
    SlotSource Source;
    // Whether Make "light" or Make "grey" was used on this picture since it came in: lightening or
    // greying one picture twice washes it out. A new picture starts with neither.
    bool Lightened = false;
    bool Greyed = false;

    friend bool operator==(const SlotRecord&, const SlotRecord&) = default;
};
