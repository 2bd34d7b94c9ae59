#pragma once
// Reading and writing 256-colour BMP files. The last decoded picture is module state.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imagefiles/PaletteEntry.h"

namespace modBmp {

struct BitmapHeader {
    int32_t Size = 0;    // number of pixel bytes delivered (Width x Height)
    int32_t Width = 0;   // pixels
    int32_t Height = 0;  // pixels, always positive here: rows are delivered top-down
};

// A BMP file decoded to palette indices: Width x Height bytes, top row first, no padding,
// and the file's colour table (entries the file does not define are zero).
struct DecodedBmp {
    BitmapHeader Header;
    std::vector<uint8_t> Pixels;
    Palette Colours{};
};

// Decodes a BMP file held in memory. The bytes are treated as hostile: every size and offset
// is checked against the data before anything is allocated or read. Accepts 1-, 4- and 8-bit
// files (uncompressed, RLE4, RLE8), 40-, 108- and 124-byte information headers, bottom-up and
// top-down rows. Refuses everything it cannot deliver as palette indices.
std::optional<DecodedBmp> DecodeBmp(std::span<const uint8_t> file);

// The last decoded picture (module state, replaced by each successful read).
const std::vector<uint8_t>& BmpPixels();
const Palette& BmpPalette();
const BitmapHeader& BmpHeader();

// Reads Filename into the module state; with Remap the pixels are then mapped onto the game
// palette. False when the file cannot be read or decoded; the module state is then unchanged.
bool LoadBMPFile(const std::string& Filename, bool Remap);

// Writes an uncompressed 8-bit BMP file (bottom-up rows, 256-entry colour table) all or
// nothing. Pixels holds at least Width x Height top-down indices. False on any failure.
bool WriteBMPFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette,
                  int32_t Width, int32_t Height);

// The bytes WriteBMPFile writes, for callers and tests that want them in memory.
std::vector<uint8_t> EncodeBmp(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                               int32_t Height);

}  // namespace modBmp
