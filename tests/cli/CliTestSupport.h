#pragma once
// Helpers for the iconwright-cli tests: running the CLI in-process and making picture files.

#include <cstdint>
#include <string>
#include <vector>

#include "imagefiles/PaletteEntry.h"
#include "picture/Picture.h"

namespace clitest {

struct CliRun { int Exit = -1; std::string Out, Err; };

// Runs iconwright-cli with these arguments (without the program name).
CliRun RunTool(const std::vector<std::string>& args);

// A 96 x 96 picture with many different indices, so that effects and reductions all show.
Picture PatternPicture();

// An uncompressed 8-bit BMP file of the picture in the game palette.
std::vector<uint8_t> BmpFileOf(const Picture& picture);

// A version 5, 256-colour PCX file of a Side x Side picture (every pixel a run of one),
// followed by the marker 12 and Colours as red, green, blue.
std::vector<uint8_t> PcxFileOf(const std::vector<uint8_t>& pixels, int side, const Palette& colours);

// Every occurrence of "DIR" replaced by the folder.
std::string InDir(std::string text, const std::string& dir);

}  // namespace clitest
