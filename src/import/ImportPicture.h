#pragma once
// The import road: a truecolour picture of any size and kind to a 96 x 96 game-palette picture.
//     decode -> (trim) -> fit -> over the background -> (strict check) -> map onto the palette
// Each stage is also usable alone; a window can decode once and call ImportDecoded again as the
// settings change, showing Frames.Composited as the preview beside the mapped result.

#include <optional>
#include <string>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"
#include "imagefiles/RgbaPicture.h"
#include "import/ImportSettings.h"

namespace import {

struct PreparedFrames {
    imagefiles::RgbaPicture Fitted;      // 96 x 96, straight alpha, before the background
    imagefiles::RgbaPicture Composited;  // 96 x 96 opaque: the picture over its background
};

struct ImportResult {
    PreparedFrames Frames;
    Picture Indices{};  // into the palette the import mapped onto
    ConversionReport Report;
};

// Trims (when asked), fits and composites. Fails with FailureKind::FullyTransparent ("the picture is
// fully transparent") when no pixel of the picture is visible.
std::optional<PreparedFrames> PrepareFrames(const imagefiles::RgbaPicture& picture, const ImportSettings& settings,
                                            imagefiles::FileFailure* Why);

// PrepareFrames, then the strict check (when asked) and the mapping onto palette. Fails with
// FailureKind::Unsupported when every index is avoided.
std::optional<ImportResult> ImportDecoded(const imagefiles::RgbaPicture& picture, const ImportSettings& settings,
                                          const Palette& palette, imagefiles::FileFailure* Why);

// ImportDecoded on the picture in the file at path, onto the game palette.
std::optional<ImportResult> ImportFile(const std::string& path, const ImportSettings& settings,
                                       imagefiles::FileFailure* Why);

// The picture in the file at path made ready to show behind imports (MakeBackgroundFrame).
std::optional<imagefiles::RgbaPicture> LoadBackgroundFrame(const std::string& path, imagefiles::FileFailure* Why);

}  // namespace import
