#pragma once
// The automatic generation of the highlighted and disabled pictures from the picture file the
// normal one came from: one sequence for the window's button and the CLI's --auto step, which
// report its stages each in their own way.

#include <functional>
#include <string>

#include "imagefiles/FileFailure.h"
#include "import/ImportSettings.h"
#include "picture/classUnitGAF.h"

// How the file is read: by the palette readers as a BMP or a PCX file, or imported (any kind the
// import takes, fitted and mapped with the settings given).
enum class PictureFileKind { Bmp, Pcx, Imported };

// The stages, each reported as it begins.
enum class AutoGenerationStage {
    LoadingPictures,    // before the file is loaded into the highlighted and disabled slots
    MakingHighlighted,  // both loads done; the highlighted slot is made lighter next
    MakingDisabled,     // the disabled slot is made grey next
};

enum class AutoGenerationResult {
    Done,
    FirstLoadFailed,   // the highlighted slot could not be loaded: nothing has changed
    SecondLoadFailed,  // the disabled slot could not be loaded: the highlighted slot holds the
                       // file's picture, not yet lightened
};

// Loads Filename into the highlighted and disabled slots, then makes the highlighted one lighter
// and the disabled one grey. Stage (may be empty) is told each stage as it begins; Why gets the
// reason a load failed. Settings are the import's, for Kind Imported.
AutoGenerationResult GenerateHighlightedAndDisabled(classUnitGAF& unit, const std::string& Filename,
                                                    PictureFileKind Kind,
                                                    const std::function<void(AutoGenerationStage)>& Stage = {},
                                                    imagefiles::FileFailure* Why = nullptr,
                                                    const import::ImportSettings& Settings = {});
