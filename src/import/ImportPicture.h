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
    bool FullyTransparent = false;       // no pixel of the picture shows: Composited is the background
};

struct ImportResult {
    PreparedFrames Frames;
    Picture Indices{};  // into the palette the import mapped onto
    ConversionReport Report;
};

// Trims (when asked), fits and composites. A picture with no visible pixel gives the background
// alone, unless it is to be trimmed: that fails with FailureKind::FullyTransparent ("the picture
// is fully transparent"), as does a picture without pixels.
std::optional<PreparedFrames> PrepareFrames(const imagefiles::RgbaPicture& picture, const ImportSettings& settings,
                                            imagefiles::FileFailure* Why);

// PrepareFrames, then the strict check (when asked) and the mapping onto palette. Fails with
// FailureKind::Unsupported when every index is avoided.
std::optional<ImportResult> ImportDecoded(const imagefiles::RgbaPicture& picture, const ImportSettings& settings,
                                          const Palette& palette, imagefiles::FileFailure* Why);

// The strict check (when asked) and the mapping onto palette of frames that PrepareFrames made
// with the same fit, trim and background: the last steps of ImportDecoded, for a caller that
// keeps the frames while only the mapping's settings change.
std::optional<ImportResult> MapPreparedFrames(PreparedFrames frames, const ImportSettings& settings,
                                              const Palette& palette, imagefiles::FileFailure* Why);

// Whether PrepareFrames makes the same frames with a as with b (fit, trim and background alike;
// a background picture is the same when it is the same shared frame).
bool SameFrames(const ImportSettings& a, const ImportSettings& b);

// ImportDecoded on the picture in the file at path, onto the game palette.
std::optional<ImportResult> ImportFile(const std::string& path, const ImportSettings& settings,
                                       imagefiles::FileFailure* Why);

// The picture in the file at path made ready to show behind imports (MakeBackgroundFrame).
std::optional<imagefiles::RgbaPicture> LoadBackgroundFrame(const std::string& path, imagefiles::FileFailure* Why);

}  // namespace import
