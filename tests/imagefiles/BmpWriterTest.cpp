// EncodeBmp / WriteBMPFile: the exact bytes of the 8-bit file.

#include <gtest/gtest.h>
#include <cstring>
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

using modPalettes::GamePalette;

TEST(WriteBMPFile, ReplacesALongerFileWithTheExactHeaderColourTableAndBottomUpRows) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file("slot.bmp"), std::vector<uint8_t>(50000, 0xAB));
    std::vector<uint8_t> pixels(96 * 96);  // every pixel differs from its neighbours, rows differ
    for (std::size_t k = 0; k < pixels.size(); ++k) pixels[k] = static_cast<uint8_t>(k * 37 + k / 96);
    ASSERT_TRUE(modBmp::WriteBMPFile(dir.file("slot.bmp"), pixels, GamePalette, 96, 96));
    const auto file = testsupport::ReadBytes(dir.file("slot.bmp"));
    ASSERT_EQ(file.size(), 10294u);
    std::vector<uint8_t> header{'B', 'M', 0x36, 0x28, 0, 0, 0, 0,  0, 0, 0x36, 4, 0, 0, 40,
                                0,   0,   0,    96,   0, 0, 0, 96, 0, 0, 0,    1, 0, 8, 0};
    header.resize(46, 0);                                   // compression, sizes, resolutions 0
    header.insert(header.end(), {0, 1, 0, 0, 0, 1, 0, 0});  // 256 colours used and important
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 54), header);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 4 * 249, file.begin() + 58 + 4 * 249),
              (std::vector<uint8_t>{0, 0, 0xFF, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 4 * 255, file.begin() + 1078),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(0, std::memcmp(file.data() + 54, GamePalette.data(), 1024));
    for (std::size_t k = 0; k < pixels.size(); ++k) ASSERT_EQ(file[1078 + (95 - k / 96) * 96 + k % 96], pixels[k]) << k;
}
