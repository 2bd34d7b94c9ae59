#pragma once
// Writing 256-colour PCX files: version 5, one plane of 8 bits, run-length encoded rows, the
// palette in the last 769 bytes. The game's unit pictures are such files of 96 x 96 pixels.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"

namespace modPCX {

// The whole file for Width x Height top-down indices (Pixels holds at least that many), or an
// empty vector for a size PCX cannot hold (not 1 to 32767 either way) or too few pixels.
// Runs never cross a row end and are at most 63 long; a single pixel of 0xC0 or more is written
// as a run of one, since a bare byte that high would read as a run count. An odd width gets a
// zero byte of padding per row, since a PCX row holds an even number of bytes.
std::vector<uint8_t> EncodePcx(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width, int32_t Height);

// Writes EncodePcx's bytes all or nothing. False, with the destination left as it was and the
// reason in Why (which may be null), when the size is impossible or the file cannot be written.
bool WritePCXFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                  int32_t Height, imagefiles::FileFailure* Why = nullptr);

}  // namespace modPCX
