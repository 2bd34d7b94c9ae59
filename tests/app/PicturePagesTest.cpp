// The window as it opens, the picture pages' commands and closing, clicked on the real buttons.

#include <QTimer>

#include "WindowTestSupport.h"

using namespace apptest;

TEST_F(WindowTest, FreshWindowShowsAboutReadyBorderedEmptyBoxesAndAWhitePreview) {
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
    EXPECT_LT(Progress(), window->ProgressPanel()->minimum()) << "the progress panel starts empty";
    EXPECT_EQ(window->findChild<QLabel*>("Panel4")->text(), "(c) ORBIT");
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(Box(k)->HasBorder()) << k;
        QImage empty(Box(k)->Canvas().size(), QImage::Format_RGB32);
        empty.fill(Box(k)->BackgroundColour());
        EXPECT_EQ(Box(k)->Canvas(), empty) << k;
    }
    // Make "light" works on the highlighted page only, Make "grey" on the disabled page only.
    for (const char* b : {"Command12", "Command15", "Command29", "Command35"})
        EXPECT_FALSE(Button(b)->isEnabled()) << b;

    // White 64 x 64 squares centred, halves to even: (81 - 64) / 2 gives 8, (73 - 64) / 2 gives 4.
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(Progress(), 100);
    for (int i = 0; i < 3; ++i) {
        const QtPictureBox& box = *window->Picture1(i);
        std::vector<uint32_t> expected(81 * 73, box.BackgroundColour().rgb() & 0xFFFFFFu);
        for (int y = 4; y < 68; ++y) std::fill_n(expected.begin() + y * 81 + 8, 64, 0xFFFFFFu);
        EXPECT_EQ(box.ReadColours({0, 0, 81, 73}), expected) << i;
    }
}

TEST_F(WindowTest, CancelledLoadChangesNothingAndALoadOnPageOneTouchesSlotOneOnly) {
    dialog->DefaultExt = "pcx";
    dialog->FileName = "left over";
    dialog->Cancel();
    Click("Command1");
    EXPECT_EQ(dialog->DefaultExt, "bmp");
    EXPECT_EQ(dialog->FileName, "");
    EXPECT_TRUE(Box(0)->HasBorder());
    EXPECT_EQ(Slot(0), Reference(0));

    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 1);
    Click("Command2", file);
    const Picture loaded = Reference(1, [&](classUnitGAF& u) { EXPECT_TRUE(u.LoadBMPPicture(file, 1)); });
    EXPECT_EQ(Slot(1), loaded);
    EXPECT_NE(loaded, Reference(1));
    EXPECT_EQ(Slot(0), Reference(0)) << "the other slots stay white";
    EXPECT_EQ(Slot(2), Reference(2)) << "the other slots stay white";
    EXPECT_TRUE(Box(0)->HasBorder());
    EXPECT_TRUE(Box(2)->HasBorder());
    EXPECT_FALSE(Box(1)->HasBorder());
    // The borderless canvas is 97 x 97: the picture at the top-left, the last row and column bare.
    std::vector<uint32_t> expected(97 * 97, Box(1)->BackgroundColour().rgb() & 0xFFFFFFu);
    const std::vector<uint32_t> picture = ColoursOf(Slot(1));
    for (int y = 0; y < 96; ++y) std::copy_n(picture.begin() + y * 96, 96, expected.begin() + y * 97);
    EXPECT_EQ(Box(1)->ReadColours({0, 0, 97, 97}), expected);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(WindowTest, RefusedFilesAndAFailedSaveAreReportedAndChangeNothing) {
    const std::string good = dir.file("good.bmp"), narrow = dir.file("narrow.bmp"), bmpAsPcx = dir.file("bmp.pcx");
    WritePatternBmp(good, 96, 96, 3);
    WritePatternBmp(narrow, 95, 96, 4);
    WritePatternBmp(bmpAsPcx, 96, 96, 5);  // a good BMP, which the PCX reader must refuse
    Click("Command1", good);
    const Picture loaded = Slot(0);
    const std::vector<uint32_t> drawn = Box(0)->ReadColours({0, 0, 97, 97});
    const std::pair<const char*, std::string> refused[] = {{"Command1", narrow}, {"Command9", bmpAsPcx}};
    for (const auto& [button, file] : refused) {
        Click(button, file);
        EXPECT_EQ(TakeMessages(), Strings{"The background image must be a 96x96, 256 color bitmap"}) << file;
        EXPECT_EQ(Slot(0), loaded) << file;
        EXPECT_EQ(Box(0)->ReadColours({0, 0, 97, 97}), drawn) << file;
    }
    Click("Command17", dir.file("no such folder/saved.bmp"));
    EXPECT_EQ(TakeMessages(), Strings{"The picture could not be saved."});
}

TEST_F(WindowTest, CrossAnswers) {
    const auto cross = [](int16_t size) { return Reference(0, [&](classUnitGAF& u) { u.AddBlackCross(0, size); }); };
    ASSERT_NE(cross(2), cross(3));
    const struct { const char* Answer; Picture Expected; Strings Messages; } rows[] = {
        {"2", cross(2), {}}, {"2.5", cross(2), {}}, {"abc", Reference(0), {"You must enter a number !"}},
        {"", Reference(0), {}},  // typed empty, and what Cancel gives
        {"40000", Reference(0), {}}};
    for (const auto& row : rows) {
        prompts->InputAnswers = {row.Answer};
        Click("Command20");
        EXPECT_EQ(Slot(0), row.Expected) << row.Answer;
        EXPECT_EQ(TakeMessages(), row.Messages) << row.Answer;
        window->UnitGAF().ResetToBackground(0);
    }
}

TEST_F(WindowTest, LightDisablesItselfForTheRunAndGridAppliesTwice) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 8);
    Click("Command2", file);
    Click("Command23");
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) {
                  EXPECT_TRUE(u.LoadBMPPicture(file, 1));
                  u.MakePicLighter(1);
              }));
    EXPECT_FALSE(Button("Command23")->isEnabled());
    Click("Command2", file);
    EXPECT_FALSE(Button("Command23")->isEnabled()) << "a new picture does not bring the button back";

    Click("Command1", file);
    Click("cmdAddGrid");
    Click("cmdAddGrid");
    EXPECT_EQ(Slot(0), Reference(0, [&](classUnitGAF& u) {
                  EXPECT_TRUE(u.LoadBMPPicture(file, 0));
                  u.AddGrid(0);
                  u.AddGrid(0);
              }));
    EXPECT_EQ(Box(0)->ReadColours({0, 0, 96, 96}), ColoursOf(Slot(0)));
}

TEST_F(WindowTest, CloseAnsweredNoKeepsEverythingAndYesDuringAPausedLoadClosesAfterIt) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 11);
    Click("Command2", file);
    const Picture loaded = Slot(1);
    prompts->MsgAnswers = {MsgAnswer::No, MsgAnswer::No};
    EXPECT_FALSE(window->close());
    Click("Command27");
    EXPECT_EQ(TakeMessages(), Strings(2, "Are you sure you want to quit (unsaved changes will be lost)"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->IsUnloaded());
    EXPECT_EQ(Slot(1), loaded);

    // Yes at the load's first yield: the window hides at once, and unloads only once the load
    // has finished with the picture set.
    bool loadDoneAtUnload = false, visibleAfterYes = true;
    QObject::connect(window.get(), &frmMain::unloaded, [&] { loadDoneAtUnload = Slot(0) == loaded; });
    prompts->MsgAnswers = {MsgAnswer::Yes};
    QTimer::singleShot(0, window.get(), [&] {
        window->close();
        visibleAfterYes = window->isVisible();
    });
    Click("Command1", file);
    EXPECT_FALSE(visibleAfterYes);
    EXPECT_TRUE(loadDoneAtUnload);
    EXPECT_TRUE(window->IsUnloaded());
}
