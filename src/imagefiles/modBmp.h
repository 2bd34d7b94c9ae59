#pragma once
// Reading and writing 256-colour BMP files. The last decoded picture is module state.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imagefiles/FileFailure.h"
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
// files (uncompressed, RLE4, RLE8), 12-, 40-, 52-, 56-, 108- and 124-byte headers, bottom-up
// and top-down rows. Refuses everything it cannot deliver as palette indices; Why, when given,
// says why (OtherKind for a picture of another kind, Unsupported for a BMP variant not taken).
std::optional<DecodedBmp> DecodeBmp(std::span<const uint8_t> file, imagefiles::FileFailure* Why = nullptr);

// The last decoded picture (module state, replaced by each successful read).
const std::vector<uint8_t>& BmpPixels();
const Palette& BmpPalette();
const BitmapHeader& BmpHeader();

// Reads Filename into the module state; with Remap the pixels are then mapped onto the game
// palette. The headers are read first, and then only the colour table and the pixel data they
// describe: a file that is no BMP file is refused after its first bytes, however large it is.
// False when the file cannot be read or decoded (Why says why); the module state is then
// unchanged.
bool LoadBMPFile(const std::string& Filename, bool Remap, imagefiles::FileFailure* Why = nullptr);

// Writes an uncompressed 8-bit BMP file (bottom-up rows, 256-entry colour table) all or
// nothing. Pixels holds at least Width x Height top-down indices. False on any failure (Why:
// WrongSize for sizes no file can have, CannotWrite with the cause).
bool WriteBMPFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                  int32_t Height, imagefiles::FileFailure* Why = nullptr);

// The bytes WriteBMPFile writes, for callers and tests that want them in memory.
std::vector<uint8_t> EncodeBmp(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width, int32_t Height);

}  // namespace modBmp
