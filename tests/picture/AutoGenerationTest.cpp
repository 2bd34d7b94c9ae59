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

struct Basis : testsupport::TempDir {
    std::string Path = file("basis.bmp");
    Stages Seen;
    std::function<void(AutoGenerationStage)> Record = [this](AutoGenerationStage stage) { Seen.push_back(stage); };
    Basis() {
        std::vector<uint8_t> pixels(9216);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + i / 96);
        testsupport::WriteBytes(Path, modBmp::EncodeBmp(pixels, modPalettes::GamePalette, 96, 96));
    }
};

void ExpectSlots(const classUnitGAF& set, const classUnitGAF& expected) {
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic})
        EXPECT_EQ(*set.Slot(slot), *expected.Slot(slot)) << slot;
}

// A loaded file is loaded into both other slots, then lightened and greyed; an imported one is
// imported again with the settings given. Both come out as new pictures of the generation, which
// Make "light" and Make "grey" may still be used on.
TEST(AutoGeneration, LoadsOrImportsBothThenLightensAndGreysReportingEachStage) {
    Basis basis;
    import::ImportSettings settings;
    settings.Dither = import::DitherMode::FloydSteinberg;
    for (PictureFileKind kind : {PictureFileKind::Bmp, PictureFileKind::Imported}) {
        classUnitGAF set, expected;
        set.AddBlackCross(kNormalPic), expected.AddBlackCross(kNormalPic);
        for (int32_t slot : {kHighlightedPic, kDisabledPic})
            ASSERT_TRUE(kind == PictureFileKind::Bmp ? expected.LoadBMPPicture(basis.Path, slot)
                                                     : expected.ImportPicture(basis.Path, slot, settings));
        expected.MakePicLighter(kHighlightedPic), expected.MakePicGrey(kDisabledPic);
        basis.Seen.clear();
        EXPECT_EQ(GenerateHighlightedAndDisabled(set, SlotSource::FromFile(basis.Path, kind, settings), basis.Record),
                  AutoGenerationResult::Done);
        EXPECT_EQ(basis.Seen, (Stages{LoadingPictures, MakingHighlighted, MakingDisabled}));
        ExpectSlots(set, expected);
        for (int32_t slot : {kHighlightedPic, kDisabledPic}) {
            EXPECT_EQ(*set.Source(slot), SlotSource::Generation());
            EXPECT_FALSE(set.WasLightened(slot) || set.WasGreyed(slot));
        }
    }
}

// The normal slot's own source decides: the reader it was loaded with, the import with its
// settings, a picture saved over it; a slot that came from no file generates nothing.
TEST(AutoGeneration, WorksFromTheNormalSlotsOwnSourceOrNotAtAll) {
    Basis basis;
    classUnitGAF set;
    EXPECT_EQ(GenerateFromNormalPicture(set, basis.Record), AutoGenerationResult::NoSourceFile);
    EXPECT_TRUE(basis.Seen.empty());
    ExpectSlots(set, classUnitGAF{});

    import::ImportSettings perceptual;
    perceptual.Match = import::MatchRule::Perceptual;
    ASSERT_TRUE(set.ImportPicture(basis.Path, kNormalPic, perceptual));
    ASSERT_TRUE(set.LoadBMPPicture(basis.Path, kDisabledPic));  // another page's load does not count
    set.AddCavedogLikeBorder(kNormalPic);                       // nor do effects on the normal slot
    EXPECT_EQ(*set.Source(kNormalPic), SlotSource::FromFile(basis.Path, PictureFileKind::Imported, perceptual));
    import::ConversionReport report;
    ASSERT_EQ(GenerateFromNormalPicture(set, {}, nullptr, &report), AutoGenerationResult::Done);
    EXPECT_EQ(report.Rule, import::MatchRule::Perceptual);  // imported again with the normal slot's settings
}

// Loads and imports start a picture afresh; the effects keep its source; lightening and greying
// are marked on the picture; a record puts all of it back.
TEST(SlotSource, FollowsThePictureThroughLoadsEffectsAndRecords) {
    Basis basis;
    classUnitGAF set;
    EXPECT_EQ(*set.Source(kHighlightedPic), SlotSource{});
    const SlotRecord white = set.Record(kHighlightedPic);
    ASSERT_TRUE(set.LoadBMPPicture(basis.Path, kHighlightedPic));
    set.MakePicLighter(kHighlightedPic);
    set.AddGrid(kHighlightedPic);
    EXPECT_EQ(*set.Source(kHighlightedPic), SlotSource::FromFile(basis.Path, PictureFileKind::Bmp));
    EXPECT_TRUE(set.WasLightened(kHighlightedPic));
    EXPECT_FALSE(set.WasGreyed(kHighlightedPic));
    set.MakePicGrey(kDisabledPic);
    EXPECT_TRUE(set.WasGreyed(kDisabledPic));
    const SlotRecord lightened = set.Record(kHighlightedPic);
    ASSERT_TRUE(set.LoadBMPPicture(basis.Path, kHighlightedPic));
    EXPECT_FALSE(set.WasLightened(kHighlightedPic));
    set.Restore(kHighlightedPic, white);
    EXPECT_EQ(set.Record(kHighlightedPic), white);
    set.Restore(kHighlightedPic, lightened);
    EXPECT_EQ(set.Record(kHighlightedPic), lightened);
    EXPECT_EQ(set.Source(3), nullptr);
    EXPECT_FALSE(set.WasLightened(3));
}

// The BMP file read as PCX fails at once and changes nothing; a file that disappears while the
// first load copies (here, in the load's yields) fails the second load with the first done.
TEST(AutoGeneration, AFailedLoadEndsItWithTheSlotsAsFarAsItGot) {
    Basis basis;
    const classUnitGAF fresh;
    classUnitGAF wrongKind;
    imagefiles::FileFailure why;
    EXPECT_EQ(GenerateHighlightedAndDisabled(wrongKind, SlotSource::FromFile(basis.Path, PictureFileKind::Pcx),
                                             basis.Record, &why),
              AutoGenerationResult::FirstLoadFailed);
    EXPECT_EQ(basis.Seen, Stages{LoadingPictures});
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::OtherKind);
    ExpectSlots(wrongKind, fresh);

    classUnitGAF expected;
    ASSERT_TRUE(expected.LoadBMPPicture(basis.Path, kHighlightedPic));  // loaded, not lightened
    int yields = 0;
    classUnitGAF vanishing([&] {
        if (++yields == 9216) std::filesystem::remove(basis.Path);
    });
    basis.Seen.clear();
    EXPECT_EQ(GenerateHighlightedAndDisabled(vanishing, SlotSource::FromFile(basis.Path, PictureFileKind::Bmp),
                                             basis.Record, &why),
              AutoGenerationResult::SecondLoadFailed);
    EXPECT_EQ(basis.Seen, Stages{LoadingPictures});
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::CannotOpen);
    ExpectSlots(vanishing, expected);
}

}  // namespace
