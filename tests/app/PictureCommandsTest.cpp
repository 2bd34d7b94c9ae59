// The eight commands of the picture pages, clicked on the real buttons with scripted dialogs.

#include <filesystem>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace apptest {
namespace {

using PictureCommands = WindowTest;

TEST_F(PictureCommands, CancelledDialogsChangeNothingAndLeaveTheirSettings) {
    const std::pair<const char*, std::string> loads[] = {{"Command1", "bmp"}, {"Command10", "pcx"}};
    for (const auto& [button, extension] : loads) {
        dialog->Cancel();
        Click(button);
        EXPECT_EQ(dialog->DefaultExt, extension) << button;
        EXPECT_EQ(dialog->FileName, "") << button;
        EXPECT_EQ(dialog->Shown.back().Kind, CommonDialog::Kind::Open) << button;
    }
    EXPECT_EQ(dialog->Shown[0].Filter, "BMP files (*.bmp)|*.bmp");
    EXPECT_EQ(dialog->Shown[1].Filter, "PCX files (*.pcx)|*.pcx");

    dialog->Cancel();
    Click("Command19");
    EXPECT_EQ(dialog->Shown.back().Kind, CommonDialog::Kind::Save);
    EXPECT_EQ(dialog->Filter, "BMP files (*.bmp)|*.bmp");
    EXPECT_EQ(dialog->DefaultExt, "bmp");
    EXPECT_EQ(dialog->FileName, "");

    for (const ShownDialog& shown : dialog->Shown) {
        EXPECT_EQ(shown.FileName, "") << "each command empties the file name before showing the dialog";
        EXPECT_EQ(shown.InitDir, window->FileDialog().InitDir);
        EXPECT_EQ(shown.Flags, 0x80004);
    }
    EXPECT_TRUE(prompts->Messages.empty());
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(Box(k)->HasBorder());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(PictureCommands, LoadOnHighlightedPageFillsSlotOneOnlyAndDrawsTopLeft) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 1);
    dialog->Choose(file);
    Click("Command2");

    const Picture expected = ReferenceBmp(file);
    EXPECT_EQ(Slot(1), expected);
    EXPECT_EQ(Slot(0), WhitePicture());
    EXPECT_EQ(Slot(2), WhitePicture());
    EXPECT_FALSE(Box(1)->HasBorder());
    EXPECT_TRUE(Box(0)->HasBorder());
    EXPECT_TRUE(Box(2)->HasBorder());

    // Without its border the box's inner area is the whole 97 x 97 box; the picture fills the
    // top-left 96 x 96 and the last row and column keep the background.
    EXPECT_EQ(Box(1)->InnerWidth(), 97);
    EXPECT_EQ(CanvasSquare(*Box(1), 0, 0), ColoursOf(expected));
    const QColor background = Box(1)->BackgroundColour();
    for (int i = 0; i < 97; ++i) {
        EXPECT_EQ(Box(1)->Canvas().pixelColor(96, i), background) << i;
        EXPECT_EQ(Box(1)->Canvas().pixelColor(i, 96), background) << i;
    }
    EXPECT_EQ(dialog->FileName, file);
    EXPECT_EQ(dialog->DefaultExt, "bmp");
    EXPECT_TRUE(prompts->Messages.empty());
}

TEST_F(PictureCommands, PcxLoadUsesThePcxReader) {
    const std::string file = dir.file("picture.pcx");
    WritePatternPcx(file, 96, 96, 2);
    dialog->Choose(file);
    Click("Command11");
    EXPECT_EQ(Slot(2), ReferencePcx(file));
    EXPECT_FALSE(Box(2)->HasBorder());
    EXPECT_EQ(dialog->DefaultExt, "pcx");
}

TEST_F(PictureCommands, RefusedFilesShowTheMessageAndChangeNothing) {
    const std::string good = dir.file("good.bmp");
    WritePatternBmp(good, 96, 96, 3);
    dialog->Choose(good);
    Click("Command1");
    const Picture loaded = Slot(0);
    const std::vector<uint32_t> drawn = CanvasSquare(*Box(0), 0, 0, 97);

    const std::string narrow = dir.file("narrow.bmp");
    WritePatternBmp(narrow, 95, 96, 4);
    const std::string oldPcx = dir.file("old.pcx");
    WritePatternPcx(oldPcx, 96, 96, 5, /*version=*/3);
    const std::string notAPicture = dir.file("text.bmp");
    testsupport::WriteBytes(notAPicture, {'h', 'e', 'l', 'l', 'o'});

    const std::pair<const char*, std::string> refused[] = {{"Command1", narrow},
                                                           {"Command1", notAPicture},
                                                           {"Command1", dir.file("missing.bmp")},
                                                           {"Command9", oldPcx}};
    for (const auto& [button, file] : refused) {
        prompts->Messages.clear();
        dialog->Choose(file);
        Click(button);
        ASSERT_EQ(prompts->Messages.size(), 1u) << file;
        EXPECT_EQ(prompts->Messages[0].Text, "The background image must be a 96x96, 256 color bitmap");
        EXPECT_EQ(prompts->Messages[0].Title, "Iconwright");
        EXPECT_EQ(prompts->Messages[0].Icon, MsgIcon::Information);
        EXPECT_EQ(prompts->Messages[0].Buttons, MsgButtons::OK);
        EXPECT_EQ(Slot(0), loaded) << file;
        EXPECT_EQ(CanvasSquare(*Box(0), 0, 0, 97), drawn) << file;
    }

    // A refused first load leaves the border of a box that never had a picture.
    dialog->Choose(narrow);
    Click("Command3");
    EXPECT_TRUE(Box(2)->HasBorder());
    EXPECT_EQ(Slot(2), WhitePicture());
}

TEST_F(PictureCommands, SaveWritesTheSlotAndReportsAFailedWrite) {
    const std::string source = dir.file("source.bmp");
    WritePatternBmp(source, 96, 96, 6);
    dialog->Choose(source);
    Click("Command3");

    const std::string saved = dir.file("saved.bmp");
    dialog->Choose(saved);
    Click("Command19");
    EXPECT_TRUE(prompts->Messages.empty());
    EXPECT_EQ(ReferenceBmp(saved), Slot(2));
    EXPECT_EQ(dialog->FileName, saved);

    dialog->Choose(dir.file("no such folder/saved.bmp"));
    Click("Command19");
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "The picture could not be saved.");
    EXPECT_EQ(prompts->Messages[0].Title, "Iconwright");
    EXPECT_EQ(prompts->Messages[0].Icon, MsgIcon::Warning);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no such folder"));
}

TEST_F(PictureCommands, CrossAnswers) {
    classUnitGAF reference;
    auto expectCross = [&](int16_t size) {
        reference.AddBlackCross(0, size);
        return *reference.Slot(0);
    };

    prompts->InputAnswers = {"2"};
    Click("Command20");
    ASSERT_EQ(prompts->Inputs.size(), 1u);
    EXPECT_EQ(prompts->Inputs[0].Prompt, "How large do you want the cross ?\r\nValue is in pixels");
    EXPECT_EQ(prompts->Inputs[0].Title, "Cross height");
    EXPECT_EQ(prompts->Inputs[0].Default, "2");
    Picture expected = expectCross(2);
    EXPECT_EQ(Slot(0), expected);
    EXPECT_NE(Slot(0), WhitePicture());
    // The bordered box shows the top-left 93 x 93 of the picture.
    const std::vector<uint32_t> all = ColoursOf(expected);
    std::vector<uint32_t> visible;
    for (int y = 0; y < 93; ++y) visible.insert(visible.end(), all.begin() + y * 96, all.begin() + y * 96 + 93);
    EXPECT_EQ(Box(0)->InnerWidth(), 93);
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0, 93), visible);
    EXPECT_TRUE(Box(0)->HasBorder()) << "only a load removes the border";

    prompts->InputAnswers = {" 2.5 "};
    Click("Command20");
    EXPECT_EQ(Slot(0), expectCross(2)) << "2.5 rounds to the even 2";

    for (const char* nothing : {"", "40000", "-40000"}) {
        const Picture before = Slot(0);
        prompts->InputAnswers = {nothing};
        Click("Command20");
        EXPECT_EQ(Slot(0), before) << '"' << nothing << '"';
    }
    EXPECT_TRUE(prompts->Messages.empty());

    prompts->InputAnswers = {"abc"};
    const Picture before = Slot(0);
    Click("Command20");
    EXPECT_EQ(Slot(0), before);
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "You must enter a number !");
    EXPECT_EQ(prompts->Messages[0].Title, "Iconwright");
    EXPECT_EQ(prompts->Messages[0].Icon, MsgIcon::Information);
}

TEST_F(PictureCommands, CrossIsDrawnIntoTheBox) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 7);
    dialog->Choose(file);
    Click("Command2");
    prompts->InputAnswers = {"6"};
    Click("Command30");
    classUnitGAF reference;
    ASSERT_TRUE(reference.LoadBMPPicture(file, 1));
    reference.AddBlackCross(1, 6);
    EXPECT_EQ(Slot(1), *reference.Slot(1));
    EXPECT_EQ(CanvasSquare(*Box(1), 0, 0), ColoursOf(*reference.Slot(1)));
}

TEST_F(PictureCommands, LightDisablesItselfForTheRun) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 8);
    dialog->Choose(file);
    Click("Command2");
    Click("Command23");

    classUnitGAF reference;
    ASSERT_TRUE(reference.LoadBMPPicture(file, 1));
    reference.MakePicLighter(1);
    EXPECT_EQ(Slot(1), *reference.Slot(1));
    EXPECT_EQ(CanvasSquare(*Box(1), 0, 0), ColoursOf(*reference.Slot(1)));
    EXPECT_FALSE(Button("Command23")->isEnabled());

    dialog->Choose(file);
    Click("Command2");
    EXPECT_FALSE(Button("Command23")->isEnabled()) << "a new picture does not bring the button back";
    EXPECT_TRUE(Button("Command34")->isEnabled());

    Click("Command34");
    classUnitGAF grey;
    grey.MakePicGrey(2);
    EXPECT_EQ(Slot(2), *grey.Slot(2));
    EXPECT_FALSE(Button("Command34")->isEnabled());
    EXPECT_TRUE(Box(2)->HasBorder());
}

TEST_F(PictureCommands, GridTwiceAndBorderWorkOnTheCurrentPicture) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 9);
    dialog->Choose(file);
    Click("Command1");
    Click("cmdAddGrid");
    Click("cmdAddGrid");
    Click("Command4");

    classUnitGAF reference;
    ASSERT_TRUE(reference.LoadBMPPicture(file, 0));
    reference.AddGrid(0);
    reference.AddGrid(0);
    reference.AddCavedogLikeBorder(0, 1);
    EXPECT_EQ(Slot(0), *reference.Slot(0));
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0), ColoursOf(*reference.Slot(0)));
}

}  // namespace
}  // namespace apptest
