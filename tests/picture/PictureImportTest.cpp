// The picture set's import commands: a palette PNG lands exactly like the same picture loaded as
// BMP, a failure leaves the slot, and the automatic generation from an imported file.

#include <gtest/gtest.h>

#include <algorithm>

#include <random>

#include "imagefiles/modBmp.h"
#include "import/ImportSettings.h"
#include "import/ImportSettingsText.h"
#include "import/ImportTestSupport.h"
#include "picture/classUnitGAF.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace {

using import::ImportSettings;
using importtest::Solid;

// Every pixel takes the plain rule's index, as a BMP load's remap gives it.
TEST(ImportPicture, APalettePngImportsExactlyLikeTheSamePictureLoadedAsBmp) {
    testsupport::TempDir dir;
    std::mt19937 random(5);
    std::vector<std::array<uint8_t, 3>> colours(256);
    Palette bmpPalette{};
    for (std::size_t k = 0; k < 256; ++k) {
        colours[k] = {uint8_t(random()), uint8_t(random()), uint8_t(random())};
        bmpPalette[k] = {colours[k][2], colours[k][1], colours[k][0], 0};
    }
    std::vector<uint8_t> indices(kPicturePixels);
    for (auto& i : indices) i = static_cast<uint8_t>(random());
    testsupport::WriteBytes(dir.file("p.png"), pictureencode::EncodePng({96, 96, 3, 8, false, indices, colours}));
    ASSERT_TRUE(modBmp::WriteBMPFile(dir.file("p.bmp"), indices, bmpPalette, 96, 96));
    classUnitGAF unit;
    ASSERT_TRUE(unit.LoadBMPPicture(dir.file("p.bmp"), 0));
    for (const char* name : {"p.png", "p.bmp"}) {
        imagefiles::FileFailure why;
        ASSERT_TRUE(unit.ImportPicture(dir.file(name), 1, ImportSettings{}, nullptr, &why)) << why.Detail;
        EXPECT_EQ(*unit.Slot(1), *unit.Slot(0)) << name;
    }
}

TEST(ImportPicture, AFailureLeavesTheSlotAndTransparencyGivesTheBackground) {
    testsupport::TempDir dir;
    const std::string clear = dir.file("clear.png"), red = dir.file("red.png");
    testsupport::WriteBytes(clear, pictureencode::EncodeRgbaPng(Solid(30, 20, {9, 9, 9, 0})));
    testsupport::WriteBytes(red, pictureencode::EncodeRgbaPng(Solid(300, 200, {255, 0, 0, 255})));
    classUnitGAF unit;
    unit.ResetToBackground(0, 37);
    const Picture before = *unit.Slot(0);
    imagefiles::FileFailure why;
    import::ConversionReport report;
    ImportSettings strict;
    strict.Strict = true, strict.Background = {1, 2, 3};
    EXPECT_FALSE(unit.ImportPicture(red, 0, strict, &report, &why));
    EXPECT_EQ(why.Detail, "pixel 0,0 is #010203");
    EXPECT_EQ(*unit.Slot(0), before);

    ASSERT_TRUE(unit.ImportPicture(red, 0, ImportSettings{}, &report, &why));
    EXPECT_EQ(unit.Slot(0)->at(0), 0);          // black above and below the 96 x 64 picture
    EXPECT_EQ(unit.Slot(0)->at(96 * 50), 249);  // red
    EXPECT_EQ(report.ExactPixels, kPicturePixels);
    EXPECT_TRUE(unit.ImportPicture(red, 3, ImportSettings{}, &report, &why));  // no slot: nothing changes

    // Untrimmed, nothing of it shows: the background alone, and the report says why.
    ImportSettings onRed;
    onRed.Background = {255, 0, 0};
    ASSERT_TRUE(unit.ImportPicture(clear, 1, onRed, &report, &why));
    EXPECT_TRUE(std::all_of(unit.Slot(1)->begin(), unit.Slot(1)->end(), [](uint8_t i) { return i == 249; }));
    EXPECT_EQ(import::DescribeReport(report),
              "9216 pixels, 9216 exact, mean error 0.00, largest error 0 (rgb); the picture is fully transparent");
}

}  // namespace
