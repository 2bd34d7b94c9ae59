// The picture pages' Save button: BMP as it always was, PCX and PNG by the filter chosen.

#include <filesystem>

#include "WindowTestSupport.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"

using namespace apptest;

TEST_F(WindowTest, TheChosenFilterDecidesTheWriter) {
    const std::string picture = dir.file("normal.bmp");
    WritePatternBmp(picture, 96, 96, 61);
    Click("Command1", picture);
    Click("Command4");
    const Picture& slot = Slot(0);
    using Bytes = std::vector<uint8_t>;
    const Bytes bmp = modBmp::EncodeBmp(slot, modPalettes::GamePalette, 96, 96);
    const Bytes pcx = modPCX::EncodePcx(slot, modPalettes::GamePalette, 96, 96);
    const Bytes png = modPNG::EncodePng(slot, modPalettes::GamePalette, 96, 96);
    ASSERT_FALSE(bmp.empty() || pcx.empty() || png.empty());

    // The name's extension does not count: "wrong.bmp" under the PNG filter is a PNG file.
    const struct {
        const char* File;
        int32_t Filter;
        const Bytes& Expected;
    } rows[] = {
        {"saved.bmp", 1, bmp}, {"saved.pcx", 2, pcx}, {"saved.png", 3, png}, {"wrong.bmp", 3, png}, {"plain", 0, bmp}};
    for (const auto& row : rows) {
        dialog->Choose(dir.file(row.File), row.Filter);
        Click("Command17");
        EXPECT_EQ(dialog->OfferedFilters.back(),
                  "BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx|PNG files (*.png)|*.png");
        EXPECT_EQ(dialog->OfferedIndices.back(), 1) << "BMP is offered first every time";
        EXPECT_EQ(dialog->ProposedNames.back(), "");
        EXPECT_EQ(testsupport::ReadBytes(dir.file(row.File)), row.Expected) << row.File;
    }
    EXPECT_TRUE(TakeMessages().empty());

    // The next dialog offers its own first filter again.
    dialog->Cancel();
    Click("Command9");
    EXPECT_EQ(dialog->OfferedFilters.back(), "PCX files (*.pcx)|*.pcx");
    EXPECT_EQ(dialog->OfferedIndices.back(), 1);

    for (int32_t filter : {1, 2, 3}) {
        dialog->Choose(dir.file("no such folder/x"), filter);
        Click("Command17");
        EXPECT_EQ(TakeMessages(), Strings{"The picture could not be saved."}) << filter;
    }
}

// The generation reads the file saved last as the kind it was saved as: a PCX file as PCX, a PNG
// file, which it cannot read, not at all.
TEST_F(WindowTest, GenerationAfterSavingAsPcxOrPngWorksFromThatFileOrFails) {
    const std::string picture = dir.file("normal.bmp"), pcx = dir.file("with-cross.pcx");
    WritePatternBmp(picture, 96, 96, 62);
    Click("Command1", picture);
    prompts->InputAnswers = {"4"};
    Click("Command20");
    dialog->Choose(pcx, 2);
    Click("Command17");
    EXPECT_EQ(dialog->DefaultExt, "pcx");
    Click("Command28");
    EXPECT_EQ(TakeMessages().size(), 1u);
    const auto crossed = [&](classUnitGAF& u, int k) { u.LoadBMPPicture(picture, k), u.AddBlackCross(k, 4); };
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) { crossed(u, 1), u.MakePicLighter(1); }));
    EXPECT_EQ(Slot(2), Reference(2, [&](classUnitGAF& u) { crossed(u, 2), u.MakePicGrey(2); }));

    dialog->Choose(dir.file("saved.png"), 3);
    Click("Command17");
    Click("Command28");
    EXPECT_EQ(TakeMessages(), Strings{"Error whilst processing task"});
}
