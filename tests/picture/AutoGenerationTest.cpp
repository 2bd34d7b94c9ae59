// The automatic generation: its stages in order, its result, and what each failure leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/AutoGeneration.h"
#include "support/TestFiles.h"

namespace {

using Stages = std::vector<AutoGenerationStage>;
using enum AutoGenerationStage;

std::string WriteBasis(const testsupport::TempDir& dir) {
    std::vector<uint8_t> pixels(9216);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + i / 96);
    testsupport::WriteBytes(dir.file("basis.bmp"), modBmp::EncodeBmp(pixels, modPalettes::GamePalette, 96, 96));
    return dir.file("basis.bmp");
}

TEST(AutoGeneration, LoadsBothThenLightensAndGreysReportingEachStage) {
    testsupport::TempDir dir;
    const std::string basis = WriteBasis(dir);
    classUnitGAF set, expected;
    set.AddBlackCross(kNormalPic);
    expected.AddBlackCross(kNormalPic);
    ASSERT_TRUE(expected.LoadBMPPicture(basis, kHighlightedPic));
    ASSERT_TRUE(expected.LoadBMPPicture(basis, kDisabledPic));
    expected.MakePicLighter(kHighlightedPic);
    expected.MakePicGrey(kDisabledPic);

    Stages stages;
    const auto result = GenerateHighlightedAndDisabled(set, basis, PictureFileKind::Bmp,
                                                       [&](AutoGenerationStage stage) { stages.push_back(stage); });
    EXPECT_EQ(result, AutoGenerationResult::Done);
    EXPECT_EQ(stages, (Stages{LoadingPictures, MakingHighlighted, MakingDisabled}));
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic})
        EXPECT_EQ(*set.Slot(slot), *expected.Slot(slot)) << slot;
}

// An imported file is imported into each slot with the settings given, then lightened and greyed.
TEST(AutoGeneration, AnImportedFileIsImportedAgainWithItsSettings) {
    testsupport::TempDir dir;
    const std::string basis = WriteBasis(dir);
    import::ImportSettings settings;
    settings.Dither = import::DitherMode::FloydSteinberg;
    classUnitGAF set, expected;
    ASSERT_TRUE(expected.ImportPicture(basis, kHighlightedPic, settings));
    ASSERT_TRUE(expected.ImportPicture(basis, kDisabledPic, settings));
    expected.MakePicLighter(kHighlightedPic);
    expected.MakePicGrey(kDisabledPic);
    EXPECT_EQ(GenerateHighlightedAndDisabled(set, basis, PictureFileKind::Imported, {}, nullptr, settings),
              AutoGenerationResult::Done);
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic})
        EXPECT_EQ(*set.Slot(slot), *expected.Slot(slot)) << slot;
}

// The BMP file read as PCX fails at once and changes nothing; a file that disappears while the
// first load copies (here, in the load's yields) fails the second load with the first done.
TEST(AutoGeneration, AFailedLoadEndsItWithTheSlotsAsFarAsItGot) {
    testsupport::TempDir dir;
    const std::string basis = WriteBasis(dir);
    const classUnitGAF fresh;
    classUnitGAF wrongKind;
    Stages stages;
    imagefiles::FileFailure why;
    EXPECT_EQ(
        GenerateHighlightedAndDisabled(
            wrongKind, basis, PictureFileKind::Pcx, [&](AutoGenerationStage stage) { stages.push_back(stage); }, &why),
        AutoGenerationResult::FirstLoadFailed);
    EXPECT_EQ(stages, Stages{LoadingPictures});
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::OtherKind);
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic})
        EXPECT_EQ(*wrongKind.Slot(slot), *fresh.Slot(slot)) << slot;

    classUnitGAF loaded;
    ASSERT_TRUE(loaded.LoadBMPPicture(basis, kHighlightedPic));
    int yields = 0;
    classUnitGAF vanishing([&] {
        if (++yields == 9216) std::filesystem::remove(basis);
    });
    stages.clear();
    EXPECT_EQ(
        GenerateHighlightedAndDisabled(
            vanishing, basis, PictureFileKind::Bmp, [&](AutoGenerationStage stage) { stages.push_back(stage); }, &why),
        AutoGenerationResult::SecondLoadFailed);
    EXPECT_EQ(stages, Stages{LoadingPictures});
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::CannotOpen);
    EXPECT_EQ(*vanishing.Slot(kHighlightedPic), *loaded.Slot(kHighlightedPic)) << "loaded, not lightened";
    EXPECT_EQ(*vanishing.Slot(kDisabledPic), *fresh.Slot(kDisabledPic));
}

}  // namespace
