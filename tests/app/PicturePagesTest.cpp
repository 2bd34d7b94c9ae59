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

TEST_F(WindowTest, RefusedFilesAndAFailedSaveAreReportedWithTheirReasonsAndChangeNothing) {
    const std::string good = dir.file("good.bmp"), narrow = dir.file("narrow.bmp"), bmpAsPcx = dir.file("bmp.pcx");
    const std::string png = dir.file("render.bmp"), deep = dir.file("deep.bmp"), cut = dir.file("cut.bmp");
    WritePatternBmp(good, 96, 96, 3);
    WritePatternBmp(narrow, 95, 96, 4);
    WritePatternBmp(bmpAsPcx, 96, 96, 5);  // a good BMP, which the PCX reader must refuse
    // A PNG signature under a .bmp name: the first bytes decide the kind, not the name.
    testsupport::WriteBytes(png, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13});
    std::vector<uint8_t> bytes = testsupport::ReadBytes(good);
    bytes[28] = 24;  // biBitCount: 24-bit colour
    testsupport::WriteBytes(deep, bytes);
    bytes = testsupport::ReadBytes(good);
    bytes.resize(bytes.size() - 500);
    testsupport::WriteBytes(cut, bytes);

    Click("Command1", good);
    const Picture loaded = Slot(0);
    const std::vector<uint32_t> drawn = Box(0)->ReadColours({0, 0, 97, 97});
    const struct {
        const char* Button;
        std::string File;
        std::string Reason;
    } refused[] = {
        {"Command1", narrow, "narrow.bmp is 95 x 96 pixels; pictures must be 96 x 96 (Import picture can fit it)."},
        {"Command9", bmpAsPcx, "bmp.pcx is a BMP picture. Use File > Import picture... to bring it in."},
        {"Command1", png, "render.bmp is a PNG picture. Use File > Import picture... to bring it in."},
        {"Command1", deep,
         "deep.bmp is stored in a way Load BMP and Load PCX do not take (24-bit colour); they take 256-colour "
         "pictures. Use File > Import picture... to bring it in."},
        {"Command1", cut, "cut.bmp is cut short (the pixel rows). Save it again in your drawing program."},
    };
    for (const auto& row : refused) {
        Click(row.Button, row.File);
        ASSERT_EQ(prompts->Messages.size(), 1u) << row.File;
        EXPECT_EQ(prompts->Messages[0].Informative, row.Reason);
        EXPECT_EQ(TakeMessages(), Strings{"The background image must be a 96x96, 256 color bitmap"}) << row.File;
        EXPECT_EQ(Slot(0), loaded) << row.File;
        EXPECT_EQ(Box(0)->ReadColours({0, 0, 97, 97}), drawn) << row.File;
    }
    Click("Command17", dir.file("no such folder/saved.bmp"));
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Informative,
              "saved.bmp could not be written (No such file or directory). Choose another folder or file name, or "
              "free some space.");
    EXPECT_EQ(TakeMessages(), Strings{"The picture could not be saved."});
}

TEST_F(WindowTest, CrossAnswers) {
    const auto cross = [](int16_t size) { return Reference(0, [&](classUnitGAF& u) { u.AddBlackCross(0, size); }); };
    ASSERT_NE(cross(2), cross(3));
    const struct {
        const char* Answer;
        Picture Expected;
        Strings Messages;
    } rows[] = {{"2", cross(2), {}},
                {"2.5", cross(2), {}},
                {"abc", Reference(0), {"You must enter a number !"}},
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
