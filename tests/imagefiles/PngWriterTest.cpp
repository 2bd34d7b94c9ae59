// EncodePng / WritePNGFile read back through libspng: indexed, the whole palette, the pixels, and
// a tRNS chunk only when asked for, making exactly one index transparent.
#include <gtest/gtest.h>

#include "imagefiles/PngWriter.h"
#include "imagefiles/modPalettes.h"
#include "support/PngDecode.h"

namespace {

using modPalettes::GamePalette;
using Bytes = std::vector<uint8_t>;

TEST(EncodePng, IndexedWithTheWholePaletteThePixelsAndAtMostOneTransparentIndex) {
    const std::vector<std::tuple<int, int, std::optional<uint8_t>>> cases{
        {1, 1, 0}, {300, 2, 255}, {3, 5, std::nullopt}};
    for (const auto& [width, height, transparent] : cases) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Bytes pixels(static_cast<std::size_t>(width * height));
        for (std::size_t k = 0; k < pixels.size(); ++k) pixels[k] = static_cast<uint8_t>(k * 37 + k / 7);
        const auto png = pngdecode::Decode(modPNG::EncodePng(pixels, GamePalette, width, height, transparent));
        ASSERT_TRUE(png);
        EXPECT_EQ(std::tuple(png->Header.width, png->Header.height, png->Header.bit_depth, png->Header.color_type,
                             png->Header.interlace_method),
                  std::tuple(uint32_t(width), uint32_t(height), 8, SPNG_COLOR_TYPE_INDEXED, 0));
        EXPECT_EQ(png->Colours, std::vector<PaletteEntry>(GamePalette.begin(), GamePalette.end()));
        EXPECT_EQ(png->Pixels, pixels);
        std::optional<Bytes> alphas;
        if (transparent) alphas.emplace(*transparent + 1u, 0xFF), alphas->back() = 0;
        EXPECT_EQ(png->Alphas, alphas);
    }
}

}  // namespace
