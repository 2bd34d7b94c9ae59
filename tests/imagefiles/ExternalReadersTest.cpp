// Other programs read our PCX and PNG files as we mean them: ImageMagick and netpbm give every
// pixel its palette colour, and ImageMagick sees exactly the one transparent index. These tools
// are required packages; a missing one fails the test rather than skipping it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace {

using modPalettes::GamePalette;
using Bytes = std::vector<uint8_t>;

constexpr const char* kConvert = "/usr/bin/convert";  // ImageMagick; a plain `convert` may be something else
constexpr const char* kIdentify = "/usr/bin/identify";
constexpr const char* kPcxToPpm = "/usr/bin/pcxtoppm";

// What a command wrote on standard output, or nothing when it did not exit with 0.
std::optional<Bytes> Output(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    Bytes out;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.insert(out.end(), buffer, buffer + n);
    const int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

void RequireTool(const char* tool) {
    ASSERT_TRUE(std::filesystem::exists(tool))
        << tool << " is missing: scripts/install-deps.sh installs imagemagick and netpbm";
}

// Every pixel of the picture as red, green, blue, and with alpha when asked.
Bytes ColoursOf(const Bytes& pixels, std::optional<uint8_t> transparent = std::nullopt, bool alpha = false) {
    Bytes rgb;
    for (uint8_t index : pixels) {
        const PaletteEntry& colour = GamePalette[index];
        rgb.insert(rgb.end(), {colour.Red, colour.Green, colour.Blue});
        if (alpha) rgb.push_back(transparent && index == *transparent ? 0 : 0xFF);
    }
    return rgb;
}

Bytes Pattern(int width, int height) {
    Bytes pixels(static_cast<std::size_t>(width * height));
    for (std::size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = static_cast<uint8_t>(k % 300 < 100 ? k / 7 * 13 : k / 300 * 41);
    return pixels;
}

TEST(ExternalReaders, ImageMagickAndNetpbmReadOurPcxFiles) {
    RequireTool(kConvert);
    RequireTool(kPcxToPpm);
    testsupport::TempDir dir;
    for (auto [width, height] : {std::pair{96, 96}, std::pair{7, 3}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const Bytes pixels = Pattern(width, height);
        const std::string file = dir.file("picture.pcx");
        ASSERT_TRUE(modPCX::WritePCXFile(file, pixels, GamePalette, width, height));

        EXPECT_EQ(Output(std::string(kConvert) + " " + file + " rgb:-"), ColoursOf(pixels)) << "ImageMagick";

        const auto ppm = Output(std::string(kPcxToPpm) + " " + file);
        ASSERT_TRUE(ppm) << "pcxtoppm refused the file";
        std::ostringstream header;
        header << "P6\n" << width << ' ' << height << "\n255\n";
        const std::string expectedHeader = header.str();
        ASSERT_GE(ppm->size(), expectedHeader.size());
        EXPECT_EQ(std::string(ppm->begin(), ppm->begin() + std::ptrdiff_t(expectedHeader.size())), expectedHeader);
        EXPECT_EQ(Bytes(ppm->begin() + std::ptrdiff_t(expectedHeader.size()), ppm->end()), ColoursOf(pixels))
            << "netpbm";
    }
}

TEST(ExternalReaders, ImageMagickReadsOurPngFilesAsIndexedWithTheOneTransparentIndex) {
    RequireTool(kConvert);
    RequireTool(kIdentify);
    testsupport::TempDir dir;
    const std::string file = dir.file("frame.png");
    for (const std::optional<uint8_t> transparent : {std::optional<uint8_t>{}, std::optional<uint8_t>{9}}) {
        SCOPED_TRACE(transparent ? "transparent 9" : "opaque");
        Bytes pixels = Pattern(64, 64);
        for (std::size_t k = 0; k < pixels.size(); k += 5) pixels[k] = 9;
        ASSERT_TRUE(modPNG::WritePNGFile(file, pixels, GamePalette, 64, 64, transparent));
        const auto type = Output(std::string(kIdentify) +
                                 " -format '%[png:IHDR.color-type-orig] %[png:IHDR.bit-depth-orig]' " + file);
        EXPECT_EQ(type, (Bytes{'3', ' ', '8'})) << "colour type 3 (indexed), 8 bits";
        const auto rgba = Output(std::string(kConvert) + " " + file + " rgba:-");
        ASSERT_TRUE(rgba);
        const Bytes expected = ColoursOf(pixels, transparent, true);
        ASSERT_EQ(rgba->size(), expected.size());
        for (std::size_t k = 0; k < pixels.size(); ++k) {
            const bool clear = transparent && pixels[k] == *transparent;
            // A transparent pixel's colour is whatever the reader likes; only its alpha counts.
            const std::size_t compared = clear ? 1 : 4;
            ASSERT_TRUE(std::equal(rgba->begin() + std::ptrdiff_t(4 * k + 4 - compared),
                                   rgba->begin() + std::ptrdiff_t(4 * k + 4),
                                   expected.begin() + std::ptrdiff_t(4 * k + 4 - compared)))
                << "pixel " << k << ", index " << int(pixels[k]);
        }
    }
}

}  // namespace
