#pragma once
// The import dialog's two pictures: the fitted picture over its background in its own colours,
// and the game-palette picture the import makes of it, each pixel shown as a square of
// Scale x Scale screen pixels (no smoothing, so that every pixel can be told apart).

#include <QImage>

#include "imagefiles/PaletteEntry.h"
#include "imagefiles/RgbaPicture.h"
#include "import/ImportSettings.h"

namespace ImportPreview {

constexpr int kScale = 2;
constexpr int kSide = import::kFrameSide * kScale;  // 192

// Frame is opaque (the composited frame); its alpha is not shown.
QImage Truecolour(const imagefiles::RgbaPicture& Frame, int Scale = kScale);

QImage Indexed(const import::IndexFrame& Indices, const Palette& Colours, int Scale = kScale);

}  // namespace ImportPreview
