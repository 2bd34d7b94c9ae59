#include "cli/CliTestSupport.h"

#include <sstream>

#include "cli/CliRunner.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace clitest {

using testsupport::PutU16;
using testsupport::PutU8;

CliRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int exit = RunCli(args, out, err);
    return {exit, out.str(), err.str()};
}

Picture PatternPicture() {
    Picture picture{};
    for (int y = 0; y < kPictureSide; ++y) {
        for (int x = 0; x < kPictureSide; ++x) {
            picture[static_cast<size_t>(y * kPictureSide + x)] = static_cast<uint8_t>((x * 7 + y * 13 + x * y) % 256);
        }
    }
    return picture;
}

std::vector<uint8_t> BmpFileOf(const Picture& picture) {
    return modBmp::EncodeBmp(picture, modPalettes::GamePalette, kPictureSide, kPictureSide);
}

std::vector<uint8_t> PcxFileOf(const std::vector<uint8_t>& pixels, int side, const Palette& colours) {
    std::vector<uint8_t> file{10, 5, 1, 8};  // manufacturer, version, run-length encoding, bits
    for (unsigned corner : {0, 0, side - 1, side - 1}) PutU16(file, corner);  // XMin YMin XMax YMax
    file.resize(65, 0);
    PutU8(file, 1);  // one plane
    PutU16(file, static_cast<unsigned>(side));  // bytes per line
    file.resize(128, 0);
    for (uint8_t value : pixels) file.insert(file.end(), {0xC1, value});
    PutU8(file, 12);
    for (const PaletteEntry& entry : colours) file.insert(file.end(), {entry.Red, entry.Green, entry.Blue});
    return file;
}

std::string InDir(std::string text, const std::string& dir) {
    for (size_t at = text.find("DIR"); at != std::string::npos; at = text.find("DIR", at + dir.size())) {
        text.replace(at, 3, dir);
    }
    return text;
}

}  // namespace clitest
