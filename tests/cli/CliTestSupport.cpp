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
    CliRun run;
    run.Exit = RunCli(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
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
    std::vector<uint8_t> file;
    PutU8(file, 10);  // manufacturer
    PutU8(file, 5);   // version
    PutU8(file, 1);   // run-length encoding
    PutU8(file, 8);   // bits per pixel
    PutU16(file, 0);  // XMin
    PutU16(file, 0);  // YMin
    PutU16(file, static_cast<unsigned>(side - 1));  // XMax
    PutU16(file, static_cast<unsigned>(side - 1));  // YMax
    file.resize(65, 0);
    PutU8(file, 1);  // one plane
    PutU16(file, static_cast<unsigned>(side));  // bytes per line
    file.resize(128, 0);

    for (int y = 0; y < side; ++y) {
        int x = 0;
        while (x < side) {
            const uint8_t value = pixels[static_cast<size_t>(y * side + x)];
            int run = 1;
            while (x + run < side && run < 63 && pixels[static_cast<size_t>(y * side + x + run)] == value) ++run;
            if (run > 1 || (value & 0xC0) == 0xC0) {
                PutU8(file, 0xC0u | static_cast<unsigned>(run));
            }
            PutU8(file, value);
            x += run;
        }
    }

    PutU8(file, 12);
    for (const PaletteEntry& entry : colours) {
        PutU8(file, entry.Red);
        PutU8(file, entry.Green);
        PutU8(file, entry.Blue);
    }
    return file;
}

std::vector<uint8_t> BmpPixelBytes(const std::string& file) {
    constexpr size_t kPixelOffset = 1078;
    const std::vector<uint8_t> bytes = testsupport::ReadBytes(file);
    if (bytes.size() < kPixelOffset) return {};
    return std::vector<uint8_t>(bytes.begin() + kPixelOffset, bytes.end());
}

}  // namespace clitest
