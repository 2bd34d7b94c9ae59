#pragma once
// Writing 8-bit indexed PNG files through libspng, with a 256-colour palette.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"

namespace modPNG {

// The whole file for Width x Height top-down indices (Pixels holds at least that many): colour
// type 3, bit depth 8, all 256 colours of Palette in PLTE. With a TransparentIndex, a tRNS chunk
// makes that one index fully transparent and leaves every other index opaque. An empty vector
// for an impossible size, too few pixels or a failure inside the encoder.
std::vector<uint8_t> EncodePng(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width, int32_t Height,
                               std::optional<uint8_t> TransparentIndex = std::nullopt);

// Writes EncodePng's bytes all or nothing. False, with the destination left as it was and the
// reason in Why (which may be null), when the picture cannot be encoded or the file cannot be
// written.
bool WritePNGFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                  int32_t Height, std::optional<uint8_t> TransparentIndex = std::nullopt,
                  imagefiles::FileFailure* Why = nullptr);

}  // namespace modPNG
