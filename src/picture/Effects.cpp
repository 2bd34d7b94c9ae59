#include "picture/Effects.h"

#include <algorithm>

#include "imagefiles/modPalettes.h"
#include "import/RoundHalfEven.h"
#include "picture/ResamplePicture.h"
#include "picture/classUnitGAF.h"

namespace {

constexpr int kLastIndex = kPicturePixels - 1;
constexpr uint8_t kBlack = 0;
constexpr uint8_t kMidGrey = 87;
constexpr uint8_t kDarkGrey = 91;
constexpr uint8_t kWhite = 255;

// Sets flat indices first..last (inclusive) to colour; the part outside the picture is skipped.
void FillFlat(Picture& pic, long first, long last, uint8_t colour) {
    first = std::max(first, 0L);
    last = std::min(last, static_cast<long>(kLastIndex));
    if (first > last) return;
    std::fill(pic.begin() + first, pic.begin() + last + 1, colour);
}

// One diagonal of the cross: positions 0, step, 2 x step, ... up to the last pixel, each
// widened by reach pixels to both sides along the flat index, so strokes carry over row ends.
void DrawDiagonal(Picture& pic, int step, bool thicken, long reach) {
    for (long k = 0; k <= kLastIndex; k += step) {
        pic[static_cast<std::size_t>(k)] = kBlack;
        if (thicken) FillFlat(pic, k - reach, k + reach, kBlack);
    }
}

}  // namespace

void DrawCross(Picture& pic, int16_t BorderSize) {
    const auto reach = static_cast<long>(RoundHalfEven(static_cast<float>(BorderSize) / 2.0f));
    const bool thicken = BorderSize > 0.5;  // sizes 0 and below draw one-pixel lines, like 1
    DrawDiagonal(pic, kPictureSide + 1, thicken, reach);
    DrawDiagonal(pic, kPictureSide - 1, thicken, reach);
}

void DrawBorder(Picture& pic, int16_t BorderSize) {
    // From b = 96 on, the bottom band alone covers the whole picture, so every larger size
    // gives the same all-black picture; clamping keeps the arithmetic small and the loops short.
    const long b = std::min<long>(BorderSize, kPictureSide);

    // Right band: column 95, then b - 1 more columns to its left (none for b <= 1).
    const long rightWidth = std::max(b, 1L);
    for (long y = 0; y < kPictureSide; ++y)
        FillFlat(pic, y * kPictureSide + kPictureSide - rightWidth, y * kPictureSide + kPictureSide - 1, kMidGrey);

    // Top band: rows 0 to b - 1 and the first pixel of row b (only (0, 0) for b = 0).
    if (b >= 0) FillFlat(pic, 0, kPictureSide * b, kWhite);

    // Left band: columns 0 to b inclusive, one column wider than the right band.
    if (b >= 0) {
        const long lastColumn = std::min(b, static_cast<long>(kPictureSide - 1));
        for (long y = 0; y < kPictureSide; ++y)
            FillFlat(pic, y * kPictureSide, y * kPictureSide + lastColumn, kDarkGrey);
    }

    // Bottom band: the last b rows.
    if (b > 0) FillFlat(pic, kPicturePixels - kPictureSide * b, kLastIndex, kBlack);
}

void classUnitGAF::MakePicLighter(int32_t TAPic) {
    if (Picture* slot = MutableSlot(TAPic)) modPalettes::RemapToPalette(*slot, LightPalette_, modPalettes::GamePalette);
}

void classUnitGAF::MakePicGrey(int32_t TAPic) {
    Picture* slot = MutableSlot(TAPic);
    if (!slot) return;
    // A grey candidate (t, t, t) is nearest at the median of a colour's components; the grey
    // level then goes back to the nearest game colour.
    modPalettes::RemapToPalette(*slot, modPalettes::GamePalette, GreyPalette_);
    modPalettes::RemapToPalette(*slot, GreyPalette_, modPalettes::GamePalette);
}

void classUnitGAF::AddBlackCross(int32_t TAPic, int16_t BorderSize) {
    if (Picture* slot = MutableSlot(TAPic)) DrawCross(*slot, BorderSize);
}

void classUnitGAF::ResetToBackground(int32_t TAPic, int16_t Color) {
    Picture* slot = MutableSlot(TAPic);
    if (!slot || Color < 0 || Color > 255) return;  // such a colour is no pixel value
    slot->fill(static_cast<uint8_t>(Color));
}

void classUnitGAF::AddCavedogLikeBorder(int32_t TAPic, int16_t BorderSize) {
    if (Picture* slot = MutableSlot(TAPic)) DrawBorder(*slot, BorderSize);
}

void classUnitGAF::AddGrid(int32_t TAPic) {
    Picture* slot = MutableSlot(TAPic);
    if (!slot) return;
    // Shrinking to 80 x 80 and back leaves 16 columns and 16 rows of the slot unreached by any
    // source pixel; the resampler marks them with its empty index.
    std::array<uint8_t, 80 * 80> scratch{};
    ResamplePicture(*slot, kPictureSide, kPictureSide, scratch, 80, 80, modPalettes::GamePalette, 0);
    ResamplePicture(scratch, 80, 80, *slot, kPictureSide, kPictureSide, modPalettes::GamePalette, 0);
}
