#pragma once
// The automatic generation of the highlighted and disabled pictures from the picture file the
// normal one came from: one sequence for the window's button and the CLI's --auto and
// --auto-import steps, which report its stages each in their own way.

#include <functional>
#include <string>

#include "imagefiles/FileFailure.h"
#include "import/ImportSettings.h"
#include "picture/SlotSource.h"
#include "picture/classUnitGAF.h"

// The stages, each reported as it begins.
enum class AutoGenerationStage {
    LoadingPictures,    // before the file is loaded into the highlighted and disabled slots
    MakingHighlighted,  // both loads done; the highlighted slot is made lighter next
    MakingDisabled,     // the disabled slot is made grey next
};

enum class AutoGenerationResult {
    Done,
    NoSourceFile,      // the basis names no file to read: nothing has changed
    FirstLoadFailed,   // the highlighted slot could not be loaded: nothing has changed
    SecondLoadFailed,  // the disabled slot could not be loaded: the highlighted slot holds the
                       // file's picture, not yet lightened
};

// Reads Basis's file as Basis says (the BMP or PCX reader, or the import with its settings) into
// the highlighted and disabled slots, then makes the highlighted one lighter and the disabled one
// grey; both then count as new pictures made by the generation. A BMP or PCX file is loaded once
// per slot; an imported file is decoded and imported once. Stage (may be empty) is told each
// stage as it begins; Why gets the reason a load failed; Report the import's conversion report.
AutoGenerationResult GenerateHighlightedAndDisabled(classUnitGAF& unit, SlotSource Basis,
                                                    const std::function<void(AutoGenerationStage)>& Stage = {},
                                                    imagefiles::FileFailure* Why = nullptr,
                                                    import::ConversionReport* Report = nullptr);

// The same from the normal slot's own source.
AutoGenerationResult GenerateFromNormalPicture(classUnitGAF& unit,
                                               const std::function<void(AutoGenerationStage)>& Stage = {},
                                               imagefiles::FileFailure* Why = nullptr,
                                               import::ConversionReport* Report = nullptr);
