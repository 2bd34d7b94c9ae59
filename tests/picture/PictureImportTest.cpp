// The picture set's import commands: a palette PNG lands exactly like the same picture loaded as
// BMP, a failure leaves the slot, and the automatic generation from an imported file.

#include <gtest/gtest.h>

#include <random>

#include "imagefiles/modBmp.h"
#include "import/ImportSettings.h"
#include "picture/classUnitGAF.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace {

using import::ConversionReport;
using import::ImportSettings;
using import::kFramePixels;

imagefiles::RgbaPicture Solid(int w, int h, std::array<uint8_t, 4> rgba) {
    imagefiles::RgbaPicture p{w, h, {}};
    for (int i = 0; i < w * h; ++i) p.Pixels.insert(p.Pixels.end(), rgba.begin(), rgba.end());
    return p;
}

TEST(ImportPicture, APalettePngImportsExactlyLikeTheSamePictureLoadedAsBmp) {
    testsupport::TempDir dir;
    std::mt19937 random(5);
    std::vector<std::array<uint8_t, 3>> colours(256);
    Palette bmpPalette{};
    for (std::size_t k = 0; k < 256; ++k) {
        colours[k] = {uint8_t(random()), uint8_t(random()), uint8_t(random())};
        bmpPalette[k] = {colours[k][2], colours[k][1], colours[k][0], 0};
    }
    std::vector<uint8_t> indices(kFramePixels);
    for (auto& i : indices) i = static_cast<uint8_t>(random());
    pictureencode::PngLayout layout{96, 96, 3, 8, false, indices, colours, {}, {}, false};
    testsupport::WriteBytes(dir.file("p.png"), pictureencode::EncodePng(layout));
    ASSERT_TRUE(modBmp::WriteBMPFile(dir.file("p.bmp"), indices, bmpPalette, 96, 96));

    classUnitGAF unit;
    ASSERT_TRUE(unit.LoadBMPPicture(dir.file("p.bmp"), 0));
    for (const char* name : {"p.png", "p.bmp"}) {
        imagefiles::FileFailure why;
        ASSERT_TRUE(unit.ImportPicture(dir.file(name), 1, ImportSettings{}, nullptr, &why)) << why.Detail;
        EXPECT_EQ(*unit.Slot(1), *unit.Slot(0)) << name;
    }
}

TEST(ImportPicture, AFailureLeavesTheSlotAndAutoImportFillsBothOthers) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file("clear.png"), pictureencode::EncodeRgbaPng(Solid(30, 20, {9, 9, 9, 0})));
    testsupport::WriteBytes(dir.file("red.png"), pictureencode::EncodeRgbaPng(Solid(300, 200, {255, 0, 0, 255})));
    classUnitGAF unit;
    unit.ResetToBackground(0, 37);
    const Picture before = *unit.Slot(0);
    imagefiles::FileFailure why;
    ConversionReport report;
    EXPECT_FALSE(unit.ImportPicture(dir.file("clear.png"), 0, ImportSettings{}, &report, &why));
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::FullyTransparent);
    ImportSettings strict;
    strict.Strict = true;
    strict.Background = {1, 2, 3};
    EXPECT_FALSE(unit.ImportPicture(dir.file("red.png"), 0, strict, &report, &why));
    EXPECT_EQ(why.Detail, "pixel 0,0 is #010203");
    EXPECT_EQ(*unit.Slot(0), before);

    ASSERT_TRUE(unit.ImportPicture(dir.file("red.png"), 0, ImportSettings{}, &report, &why));
    EXPECT_EQ(unit.Slot(0)->at(0), 0);          // black above and below the 96 x 64 picture
    EXPECT_EQ(unit.Slot(0)->at(96 * 50), 249);  // red
    EXPECT_EQ(report.ExactPixels, kFramePixels);
    EXPECT_TRUE(
        unit.ImportPicture(dir.file("red.png"), 3, ImportSettings{}, &report, &why));  // no slot: nothing changes

    classUnitGAF expected;
    ASSERT_TRUE(expected.ImportPicture(dir.file("red.png"), 1, ImportSettings{}));
    ASSERT_TRUE(expected.ImportPicture(dir.file("red.png"), 2, ImportSettings{}));
    expected.MakePicLighter(1);
    expected.MakePicGrey(2);
    ASSERT_TRUE(unit.AutoImport(dir.file("red.png"), ImportSettings{}, &report, &why));
    EXPECT_EQ(*unit.Slot(1), *expected.Slot(1));
    EXPECT_EQ(*unit.Slot(2), *expected.Slot(2));
}

}  // namespace
