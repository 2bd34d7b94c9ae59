#pragma once
// A BMP file in two steps, so that a reader can stop after the headers: first the layout the
// headers describe (where the colour table and the pixel data lie, and how much of each there
// is), then the picture from those two pieces. DecodeBmp takes both from bytes in memory,
// LoadBMPFile reads each piece from the file only once the headers have been accepted.

#include <cstdint>
#include <optional>
#include <span>

#include "imagefiles/FileFailure.h"
#include "imagefiles/modBmp.h"

namespace modBmp {

struct BmpLayout {
    int64_t Width = 0;
    int64_t Height = 0;  // always positive; TopDown says in which order the rows are stored
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = 0;
    uint64_t PaletteOffset = 0;
    uint64_t PaletteEntrySize = 4;
    uint64_t ColourCount = 0;
    uint64_t PixelOffset = 0;
    uint64_t PixelBytes = 0;  // what the file holds of the pixel data, as far as the decoding may need it

    uint64_t PaletteBytes() const { return ColourCount * PaletteEntrySize; }
};

// The file header and the largest information header: every byte ReadBmpLayout looks at.
inline constexpr uint64_t kBmpHeadBytes = 14 + 124;

// The layout from the first min(fileSize, kBmpHeadBytes) bytes of a file of fileSize bytes.
// Nothing, with the reason, for anything but a BMP file this reader can deliver as palette
// indices, and for one whose pieces would not fit the file or the read limit.
std::optional<BmpLayout> ReadBmpLayout(std::span<const uint8_t> head, uint64_t fileSize,
                                       imagefiles::FileFailure* Why = nullptr);

// The picture from its colour table (PaletteBytes() bytes) and its pixel data (PixelBytes bytes
// from PixelOffset).
std::optional<DecodedBmp> DecodeBmpPieces(const BmpLayout& layout, std::span<const uint8_t> colourTable,
                                          std::span<const uint8_t> pixelData, imagefiles::FileFailure* Why = nullptr);

}  // namespace modBmp
