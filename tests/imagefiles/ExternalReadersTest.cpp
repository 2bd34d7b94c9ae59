// Other programs read our PCX and PNG files as we mean them: ImageMagick and netpbm give every
// pixel its palette colour, and ImageMagick sees exactly the one transparent index. These tools
// are required packages; a missing one fails the test rather than skipping it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>

#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

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

TEST(ExternalReaders, ImageMagickAndNetpbmReadOurPcxAndPngFiles) {
    // ImageMagick's own convert; a plain `convert` may be something else.
    for (const char* tool : {"/usr/bin/convert", "/usr/bin/pcxtoppm"})
        ASSERT_TRUE(std::filesystem::exists(tool))
            << tool << " is missing: scripts/install-deps.sh installs imagemagick and netpbm";
    testsupport::TempDir dir;
    const std::string pcx = dir.file("picture.pcx"), png = dir.file("frame.png");
    for (auto [width, height] : {std::pair{96, 96}, std::pair{7, 3}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Bytes pixels(static_cast<std::size_t>(width * height));
        for (std::size_t k = 0; k < pixels.size(); ++k)
            pixels[k] = static_cast<uint8_t>(k % 5 == 0 ? 9 : k % 300 < 100 ? k / 7 * 13 : k / 300 * 41);
        Bytes rgb = {'P', '6', '\n'}, rgba;  // every pixel's colour; with alpha, 9 transparent
        for (char c : std::to_string(width) + ' ' + std::to_string(height) + "\n255\n") rgb.push_back(uint8_t(c));
        const std::size_t ppmHeader = rgb.size();
        for (uint8_t index : pixels) {
            const PaletteEntry& colour = modPalettes::GamePalette[index];
            rgb.insert(rgb.end(), {colour.Red, colour.Green, colour.Blue});
            rgba.insert(rgba.end(), {colour.Red, colour.Green, colour.Blue, uint8_t(index == 9 ? 0 : 255)});
        }
        ASSERT_TRUE(modPCX::WritePCXFile(pcx, pixels, modPalettes::GamePalette, width, height));
        EXPECT_EQ(Output("/usr/bin/pcxtoppm " + pcx), rgb) << "netpbm";
        rgb.erase(rgb.begin(), rgb.begin() + std::ptrdiff_t(ppmHeader));
        EXPECT_EQ(Output("/usr/bin/convert " + pcx + " rgb:-"), rgb) << "ImageMagick";

        ASSERT_TRUE(modPNG::WritePNGFile(png, pixels, modPalettes::GamePalette, width, height, 9));
        auto read = Output("/usr/bin/convert " + png + " rgba:-");
        ASSERT_TRUE(read && read->size() == rgba.size());
        // A transparent pixel's colour is whatever the reader likes; only its alpha counts.
        for (std::size_t k = 0; k < pixels.size(); ++k)
            if (pixels[k] == 9)
                std::copy_n(rgba.begin() + std::ptrdiff_t(4 * k), 3, read->begin() + std::ptrdiff_t(4 * k));
        EXPECT_EQ(*read, rgba) << "ImageMagick";
    }
}

}  // namespace
