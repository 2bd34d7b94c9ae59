// EncodePcx: the exact header, the packets of runs and literals, and the palette behind its
// marker. (That the reader reads such files is seen on the CLI road.)
#include <gtest/gtest.h>

#include "imagefiles/PcxWriter.h"
#include "imagefiles/modPalettes.h"

namespace {

using modPalettes::GamePalette;
using Bytes = std::vector<uint8_t>;

TEST(EncodePcx, HeaderOfASlotAndTheGamePaletteBehindTheMarker) {
    const Bytes file = modPCX::EncodePcx(Bytes(96 * 96, 0x20), GamePalette, 96, 96);
    ASSERT_GE(file.size(), 128u + 769u);
    Bytes header{10, 5, 1, 8, 0, 0, 0, 0, 95, 0, 95, 0, 72, 0, 72, 0};
    for (std::size_t i = 0; i < 16; ++i)
        header.insert(header.end(), {GamePalette[i].Red, GamePalette[i].Green, GamePalette[i].Blue});
    header.insert(header.end(), {0, 1, 96, 0, 1, 0});  // reserved, one plane, 96 bytes per line, colour palette
    header.resize(128, 0);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 128), header);
    EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 22), (Bytes{0, 0, 0, 0x80, 0, 0}));  // game colours 0 and 1
    Bytes data;  // each row of 96 is one run of 63 and one of 33
    for (int row = 0; row < 96; ++row) data.insert(data.end(), {0xFF, 0x20, 0xE1, 0x20});
    EXPECT_EQ(Bytes(file.begin() + 128, file.end() - 769), data);
    Bytes palette{12};
    for (const auto& colour : GamePalette) palette.insert(palette.end(), {colour.Red, colour.Green, colour.Blue});
    EXPECT_EQ(Bytes(file.end() - 769, file.end()), palette);
}

TEST(EncodePcx, RunsEndWithTheRowAndAtSixtyThreeAndHighLiteralsAreRunsOfOne) {
    const std::vector<std::tuple<int, int, Bytes, Bytes>> cases{
        {127, 1, Bytes(127, 0xC5), {0xFF, 0xC5, 0xFF, 0xC5, 0xC1, 0xC5, 0}},     // 63, 63 and 1
        {4, 1, {0xC0, 0xBF, 0xFF, 0x00}, {0xC1, 0xC0, 0xBF, 0xC1, 0xFF, 0x00}},  // 0xC0 and up: runs of one
        {2, 1, {4, 4}, {0xC2, 4}},                                               // two equal pixels: a run
        {4, 2, Bytes(8, 7), {0xC4, 7, 0xC4, 7}},                                 // never across a row end
        {3, 2, {1, 2, 3, 4, 4, 0}, {1, 2, 3, 0, 0xC2, 4, 0xC2, 0}},              // odd width: a zero byte
    };
    for (const auto& [width, height, pixels, packets] : cases) {
        const Bytes file = modPCX::EncodePcx(pixels, GamePalette, width, height);
        ASSERT_FALSE(file.empty()) << width;
        EXPECT_EQ(Bytes(file.begin() + 128, file.end() - 769), packets) << width;
        EXPECT_EQ(file[66] | file[67] << 8, (width + 1) / 2 * 2) << width;
    }
}

}  // namespace
