// The eight commands of the picture pages, clicked on the real buttons with scripted dialogs.

#include <filesystem>

#include "WindowTestSupport.h"

namespace apptest {
namespace {

using PictureCommands = WindowTest;

TEST_F(PictureCommands, CancelledDialogsChangeNothingAndLeaveTheirSettings) {
    struct Case {
        const char* Button;
        CommonDialog::Kind Kind;
        const char* Filter;
        const char* Extension;
    };
    const Case cases[] = {{"Command1", CommonDialog::Kind::Open, "BMP files (*.bmp)|*.bmp", "bmp"},
                          {"Command10", CommonDialog::Kind::Open, "PCX files (*.pcx)|*.pcx", "pcx"},
                          {"Command19", CommonDialog::Kind::Save, "BMP files (*.bmp)|*.bmp", "bmp"}};
    for (const Case& c : cases) {
        dialog->FileName = "left over";
        dialog->Cancel();
        Click(c.Button);
        const ShownDialog& shown = dialog->Shown.back();
        EXPECT_EQ(shown.Kind, c.Kind) << c.Button;
        EXPECT_EQ(shown.Filter, c.Filter) << c.Button;
        EXPECT_EQ(shown.FileName, "") << c.Button << ": the file name is emptied before the dialog shows";
        EXPECT_EQ(shown.InitDir, window->FileDialog().InitDir) << c.Button;
        EXPECT_EQ(shown.Flags, 0x80004) << c.Button;
        EXPECT_EQ(dialog->DefaultExt, c.Extension) << c.Button;
        EXPECT_EQ(dialog->FileName, "") << c.Button;
    }
    EXPECT_TRUE(prompts->Messages.empty());
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(Box(k)->HasBorder());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(PictureCommands, LoadOnHighlightedPageFillsSlotOneOnlyAndDrawsTopLeft) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 1);
    ClickChoosing("Command2", file);

    EXPECT_EQ(Slot(1), Loaded(file));
    EXPECT_EQ(Slot(0), WhitePicture());
    EXPECT_EQ(Slot(2), WhitePicture());
    EXPECT_FALSE(Box(1)->HasBorder());
    EXPECT_TRUE(Box(0)->HasBorder());
    EXPECT_TRUE(Box(2)->HasBorder());
    // Without its border the canvas is the whole 97 x 97 box: the picture fills the top-left
    // 96 x 96, the last row and column keep the background.
    ExpectBoxShowsSlot(1);
    const QColor background = Box(1)->BackgroundColour();
    for (int i = 0; i < 97; ++i) {
        EXPECT_EQ(Box(1)->Canvas().pixelColor(96, i), background) << i;
        EXPECT_EQ(Box(1)->Canvas().pixelColor(i, 96), background) << i;
    }
    EXPECT_EQ(dialog->FileName, file);
    EXPECT_TRUE(prompts->Messages.empty());

    const std::string pcx = dir.file("picture.pcx");
    WritePatternPcx(pcx, 96, 96, 2);
    ClickChoosing("Command11", pcx);
    EXPECT_EQ(Slot(2), Loaded(pcx, true));
    EXPECT_EQ(dialog->DefaultExt, "pcx");
}

TEST_F(PictureCommands, RefusedFilesShowTheMessageAndChangeNothing) {
    const std::string good = dir.file("good.bmp");
    WritePatternBmp(good, 96, 96, 3);
    ClickChoosing("Command1", good);
    const Picture loaded = Slot(0);
    const std::vector<uint32_t> drawn = CanvasSquare(*Box(0), 0, 0, 97);

    const std::string narrow = dir.file("narrow.bmp");
    WritePatternBmp(narrow, 95, 96, 4);
    const std::string oldPcx = dir.file("old.pcx");
    WritePatternPcx(oldPcx, 96, 96, 5, /*version=*/3);
    const std::string notAPicture = dir.file("text.bmp");
    testsupport::WriteBytes(notAPicture, {'h', 'e', 'l', 'l', 'o'});
    const std::pair<const char*, std::string> refused[] = {
        {"Command1", narrow}, {"Command1", notAPicture}, {"Command1", dir.file("missing.bmp")}, {"Command9", oldPcx}};
    for (const auto& [button, file] : refused) {
        SCOPED_TRACE(file);
        ClickChoosing(button, file);
        ExpectOneMessage("The background image must be a 96x96, 256 color bitmap", "Iconwright",
                         MsgIcon::Information);
        EXPECT_EQ(Slot(0), loaded);
        EXPECT_EQ(CanvasSquare(*Box(0), 0, 0, 97), drawn);
    }
    // A refused first load leaves the border of a box that never had a picture.
    ClickChoosing("Command3", narrow);
    EXPECT_TRUE(Box(2)->HasBorder());
    EXPECT_EQ(Slot(2), WhitePicture());
}

TEST_F(PictureCommands, SaveWritesTheSlotAndReportsAFailedWrite) {
    const std::string source = dir.file("source.bmp");
    WritePatternBmp(source, 96, 96, 6);
    ClickChoosing("Command3", source);

    const std::string saved = dir.file("saved.bmp");
    testsupport::WriteBytes(saved, {'o', 'l', 'd'});  // written over without a question
    ClickChoosing("Command19", saved);
    EXPECT_TRUE(prompts->Messages.empty());
    EXPECT_EQ(Loaded(saved), Slot(2));
    EXPECT_EQ(dialog->FileName, saved);

    ClickChoosing("Command19", dir.file("no such folder/saved.bmp"));
    ExpectOneMessage("The picture could not be saved.", "Iconwright", MsgIcon::Warning);
}

TEST_F(PictureCommands, CrossAnswers) {
    auto cross = [](int16_t size) { return Reference(0, [&](classUnitGAF& u) { u.AddBlackCross(0, size); }); };
    prompts->InputAnswers = {"2"};
    Click("Command20");
    ASSERT_EQ(prompts->Inputs.size(), 1u);
    EXPECT_EQ(prompts->Inputs[0].Prompt, "How large do you want the cross ?\r\nValue is in pixels");
    EXPECT_EQ(prompts->Inputs[0].Title, "Cross height");
    EXPECT_EQ(prompts->Inputs[0].Default, "2");
    EXPECT_EQ(Slot(0), cross(2));
    EXPECT_NE(Slot(0), WhitePicture());
    EXPECT_TRUE(Box(0)->HasBorder()) << "only a load removes the border";

    // Each answer on a fresh page: what the slot holds afterwards.
    const std::pair<const char*, Picture> answers[] = {
        {" 2.5 ", cross(2)}, {"3.5", cross(4)}, {"", WhitePicture()}, {"40000", WhitePicture()},
        {"-40000", WhitePicture()}, {"0", cross(0)}};
    for (const auto& [answer, expected] : answers) {
        SCOPED_TRACE(std::string("answer \"") + answer + '"');
        prompts->InputAnswers = {answer};
        Click("Command30");
        EXPECT_EQ(Slot(1), expected);
        EXPECT_TRUE(prompts->Messages.empty());
        window->UnitGAF().ResetToBackground(1);
    }

    prompts->InputAnswers = {"abc"};
    Click("Command33");
    EXPECT_EQ(Slot(2), WhitePicture());
    ExpectOneMessage("You must enter a number !", "Iconwright", MsgIcon::Information);
}

TEST_F(PictureCommands, EffectsWorkOnTheCurrentPictureAndShowIt) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 9);
    ClickChoosing("Command1", file);
    Click("cmdAddGrid");
    Click("cmdAddGrid");  // the grid applied again to the gridded picture
    Click("Command4");
    prompts->InputAnswers = {"6"};
    Click("Command20");
    EXPECT_EQ(Slot(0), Reference(0, [&](classUnitGAF& u) {
                  u.LoadBMPPicture(file, 0);
                  u.AddGrid(0);
                  u.AddGrid(0);
                  u.AddCavedogLikeBorder(0, 1);
                  u.AddBlackCross(0, 6);
              }));
    ExpectBoxShowsSlot(0);
}

TEST_F(PictureCommands, LightAndGreyDisableThemselvesForTheRun) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 8);
    ClickChoosing("Command2", file);
    Click("Command23");
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) {
                  u.LoadBMPPicture(file, 1);
                  u.MakePicLighter(1);
              }));
    ExpectBoxShowsSlot(1);
    EXPECT_FALSE(Button("Command23")->isEnabled());
    ClickChoosing("Command2", file);
    EXPECT_FALSE(Button("Command23")->isEnabled()) << "a new picture does not bring the button back";

    EXPECT_TRUE(Button("Command34")->isEnabled());
    Click("Command34");
    EXPECT_EQ(Slot(2), Reference(2, [](classUnitGAF& u) { u.MakePicGrey(2); }));
    EXPECT_FALSE(Button("Command34")->isEnabled());
    EXPECT_TRUE(Box(2)->HasBorder()) << "an effect before any load keeps the border";
}

}  // namespace
}  // namespace apptest
