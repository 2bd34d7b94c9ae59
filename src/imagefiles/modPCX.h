#pragma once
// Reading 256-colour PCX files (version 5, palette in the last 769 bytes). The last decoded
// picture is module state.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"

namespace modPCX {

struct DecodedPcx {
    int32_t LastX = 0;            // XMax - XMin
    int32_t LastY = 0;            // YMax - YMin
    std::vector<uint8_t> Pixels;  // (LastX + 1) x (LastY + 1), top row first
    Palette Colours{};            // the file's palette as blue, green, red, reserved 0
};

// Decodes a PCX file held in memory, treating it as hostile: a header whose extent is negative,
// larger than the file could hold or larger than 64 Mi pixels, a missing palette, or pixel data
// that ends before the picture is full gives nothing, before any large allocation. Why, when
// given, says why (OtherKind for a picture of another kind).
std::optional<DecodedPcx> DecodePcx(std::span<const uint8_t> file, imagefiles::FileFailure* Why = nullptr);

// The last decoded picture (module state).
const std::vector<uint8_t>& PcxPixels();
int32_t PcxLastX();
int32_t PcxLastY();
const Palette& PcxPalette();

// Reads Filename into the module state. No colour mapping here. False when the file cannot be
// read or decoded (Why says why); the module state is then unchanged.
bool LoadPCXFile(const std::string& Filename, imagefiles::FileFailure* Why = nullptr);

}  // namespace modPCX
