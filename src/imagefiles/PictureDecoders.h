#pragma once
// Truecolour pictures from files of any kind the import takes: PNG (libspng), JPEG (TurboJPEG),
// BMP of every depth and 256-colour PCX. Every decoder treats its input as hostile: the picture
// size is checked against maxPixels before any pixel memory is allocated, and a file the decoder
// cannot take gives a reason instead of a picture.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"
#include "imagefiles/RgbaPicture.h"

namespace imagefiles {

// The picture in file, whose kind is decided by its first bytes, never by its name.
std::optional<RgbaPicture> DecodePicture(std::span<const uint8_t> file, FileFailure* Why,
                                         int64_t maxPixels = kMaxImportPixels);

// DecodePicture on the whole content of the file at path.
std::optional<RgbaPicture> ReadPictureFile(const std::string& path, FileFailure* Why,
                                           int64_t maxPixels = kMaxImportPixels);

// The decoders behind DecodePicture, for files already known to be of their kind.

// Every PNG colour type and bit depth, palette with tRNS, Adam7 interlacing. Samples of 16 bits
// are reduced to 8 by rounding to nearest: v8 = round(v16 x 255 / 65535).
std::optional<RgbaPicture> DecodePng(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels);

// Greyscale and YCbCr JPEG, baseline and progressive. CMYK and YCCK are refused.
std::optional<RgbaPicture> DecodeJpeg(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels);

// 16-, 24- and 32-bit BMP files: BI_RGB, BI_BITFIELDS and BI_ALPHABITFIELDS, alpha from the alpha
// mask of a V3, V4 or V5 header (or the fourth mask of BI_ALPHABITFIELDS). Files of 8 bits or fewer
// go through the palette reader (modBmp::DecodeBmp), each index turned into its table colour.
std::optional<RgbaPicture> DecodeTruecolourBmp(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels);

// The longest side a picture to import may have. Longer sides are refused from the header, before
// anything is decoded: a picture of 16 Mi x 1 pixels is a few bytes of PNG, yet fitting it into
// 96 x 96 leaves nothing of it, and its row alone would cost the pipeline seconds.
inline constexpr int64_t kMaxImportSide = 16384;

// The size check every decoder makes from the header: true when width x height is within
// maxPixels and each side within kMaxImportSide, else false with the refusal (TooManyPixels)
// naming the limit.
bool PictureSizeAllowed(FileFailure* Why, int64_t width, int64_t height, int64_t maxPixels);
void ReportTooManyPixels(FileFailure* Why, int64_t width, int64_t height, int64_t maxPixels);

// A picture of palette indices (top row first) in the colours of its palette, opaque.
RgbaPicture ColouredIndices(int32_t width, int32_t height, std::span<const uint8_t> indices, const Palette& colours);

}  // namespace imagefiles
