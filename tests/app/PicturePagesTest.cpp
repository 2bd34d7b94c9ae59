// The window as it opens, the picture pages' commands and closing, clicked on the real buttons.

#include <QTimer>

#include "WindowTestSupport.h"
#include "app/FrameBox.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"

using namespace apptest;

TEST_F(WindowTest, FreshWindowShowsAboutReadyBorderedBoxesAndAWhitePreview) {
    EXPECT_EQ(Page(), frmMain::kAboutPage);
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
    EXPECT_LT(Progress(), window->ProgressPanel()->minimum()) << "the progress panel starts empty";
    EXPECT_TRUE(Box(0)->HasBorder() && Box(1)->HasBorder() && Box(2)->HasBorder());
    // Make "light" works on the highlighted page only, Make "grey" on the disabled page only.
    for (const char* b : {"Command12", "Command15", "Command29", "Command35"})
        EXPECT_FALSE(Button(b)->isEnabled()) << b;

    // The About frame's caption sits on the frame's line, the text clear of both, and the link
    // over the text's last words without a patch of another colour behind it.
    const auto* frame = window->findChild<FrameBox*>(QStringLiteral("Frame1"));
    const QRect caption = frame->CaptionRect(), text = window->findChild<QLabel*>(QStringLiteral("Label6"))->geometry();
    EXPECT_TRUE(frame->rect().contains(caption) && caption.top() < frame->LineTop() &&
                caption.bottom() > frame->LineTop());
    EXPECT_TRUE(text.top() >= caption.bottom() + 2 && text.left() >= 4);
    const QImage page = window->findChild<FrameBox*>(QStringLiteral("Frame1"))->grab().toImage();
    const QPoint link = window->findChild<QLabel*>(QStringLiteral("Label9"))->geometry().topLeft() + QPoint(1, 1);
    EXPECT_EQ(page.pixel(link), page.pixel(frame->width() - 4, frame->height() - 4));

    // White 64 x 64 squares centred, halves to even: (81 - 64) / 2 gives 8, (73 - 64) / 2 gives 4.
    ShowPage(frmMain::kOperationsPage);
    EXPECT_EQ(Progress(), 100);
    for (int i = 0; i < 3; ++i) {
        std::vector<uint32_t> expected(81 * 73, window->Picture1(i)->BackgroundColour().rgb() & 0xFFFFFFu);
        for (int y = 4; y < 68; ++y) std::fill_n(expected.begin() + y * 81 + 8, 64, 0xFFFFFFu);
        EXPECT_EQ(window->Picture1(i)->ReadColours({0, 0, 81, 73}), expected) << i;
    }
}

TEST_F(WindowTest, CancelledLoadChangesNothingAndALoadOnPageOneTouchesSlotOneOnly) {
    dialog->DefaultExt = "pcx", dialog->FileName = "left over";
    dialog->Cancel();
    Click("Command1");
    EXPECT_EQ(dialog->DefaultExt + "|" + dialog->FileName, "bmp|");

    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 1);
    Click("Command2", file);
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) { EXPECT_TRUE(u.LoadBMPPicture(file, 1)); }));
    EXPECT_TRUE(Slot(0) == Reference(0) && Slot(1) != Reference(1) && Slot(2) == Reference(2));
    EXPECT_TRUE(Box(0)->HasBorder() && !Box(1)->HasBorder() && Box(2)->HasBorder());
    // The borderless canvas is 97 x 97: the picture at the top-left, the last row and column bare.
    std::vector<uint32_t> expected(97 * 97, Box(1)->BackgroundColour().rgb() & 0xFFFFFFu);
    const std::vector<uint32_t> picture = ColoursOf(Slot(1));
    for (int y = 0; y < 96; ++y) std::copy_n(picture.begin() + y * 96, 96, expected.begin() + y * 97);
    EXPECT_EQ(Box(1)->ReadColours({0, 0, 97, 97}), expected);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(WindowTest, RefusedFilesAreReportedWithTheirReasonsAndChangeNothing) {
    const std::string good = dir.file("good.bmp");
    WritePatternBmp(good, 96, 96, 3);
    WritePatternBmp(dir.file("narrow.bmp"), 95, 96, 4);
    WritePatternBmp(dir.file("bmp.pcx"), 96, 96, 5);  // a good BMP, which the PCX reader must refuse
    Bytes cut = testsupport::ReadBytes(good);
    testsupport::WriteBytes(dir.file("cut.bmp"), Bytes(cut.begin(), cut.end() - 500));
    Click("Command1", good);
    const Picture loaded = Slot(0);
    const std::vector<uint32_t> drawn = Box(0)->ReadColours({0, 0, 97, 97});
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"Command1", "narrow.bmp", "is 95 x 96 pixels; pictures must be 96 x 96 (Import picture can fit it)."},
        {"Command9", "bmp.pcx", "is a BMP picture. Use File > Import picture... to bring it in."},
        {"Command1", "cut.bmp", "is cut short (the pixel rows). Save it again in your drawing program."},
    };
    for (const auto& [button, file, reason] : rows) {
        Click(button, dir.file(file));
        const std::string shown = "The background image must be a 96x96, 256 color bitmap | " + std::string(file);
        EXPECT_EQ(TakeMessages(true), Strings{shown + " " + reason});
        EXPECT_TRUE(Slot(0) == loaded && Box(0)->ReadColours({0, 0, 97, 97}) == drawn) << file;
    }
}

// The chosen filter decides the writer, whatever the name's extension; each save dialog offers
// BMP first, and the next dialog its own first filter.
TEST_F(WindowTest, SaveWritesTheChosenFilterAndSaysWhyItCouldNot) {
    prompts->InputAnswers = {"4"};
    Click("Command20");
    const Picture& slot = Slot(0);
    const std::tuple<const char*, int32_t, Bytes> rows[] = {
        {"saved.pcx", 2, modPCX::EncodePcx(slot, modPalettes::GamePalette, 96, 96)},
        {"wrong.bmp", 3, modPNG::EncodePng(slot, modPalettes::GamePalette, 96, 96)},
        {"plain", 0, modBmp::EncodeBmp(slot, modPalettes::GamePalette, 96, 96)},
    };
    for (const auto& [file, filter, expected] : rows) {
        dialog->Choose(dir.file(file), filter);
        Click("Command17");
        EXPECT_EQ(dialog->OfferedFilters.back(),
                  "BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx|PNG files (*.png)|*.png");
        EXPECT_EQ(dialog->OfferedIndices.back(), 1) << file;
        EXPECT_EQ(testsupport::ReadBytes(dir.file(file)), expected) << file;
    }
    dialog->Cancel();
    Click("Command9");
    EXPECT_EQ(dialog->OfferedFilters.back() + " " + std::to_string(dialog->OfferedIndices.back()),
              "PCX files (*.pcx)|*.pcx 1");
    for (int32_t filter : {3, 2, 1}) {
        dialog->Choose(dir.file("no such folder/saved.bmp"), filter);
        Click("Command17");
    }
    ASSERT_EQ(prompts->Messages.size(), 3u);
    EXPECT_EQ(prompts->Messages[2].Informative,
              "saved.bmp could not be written (No such file or directory). Choose another folder or file name, or "
              "free some space.");
    EXPECT_EQ(TakeMessages(), Strings(3, "The picture could not be saved."));
}

TEST_F(WindowTest, CrossAnswers) {
    const auto cross = [](int16_t size) { return Reference(0, [&](classUnitGAF& u) { u.AddBlackCross(0, size); }); };
    ASSERT_NE(cross(2), cross(3));
    const std::tuple<const char*, Picture, Strings> rows[] = {{"2", cross(2), {}},
                                                              {"2.5", cross(2), {}},
                                                              {"abc", Reference(0), {"You must enter a number !"}},
                                                              {"", Reference(0), {}},  // typed empty, or Cancel
                                                              {"40000", Reference(0), {}}};
    for (const auto& [answer, expected, messages] : rows) {
        prompts->InputAnswers = {answer};
        Click("Command20");
        EXPECT_EQ(Slot(0), expected) << answer;
        EXPECT_EQ(TakeMessages(), messages) << answer;
        window->UnitGAF().ResetToBackground(0);
    }
}

TEST_F(WindowTest, LightDisablesItselfForTheRunAndGridAppliesTwice) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 8);
    Click("Command2", file);
    Click("Command23");
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) { u.LoadBMPPicture(file, 1), u.MakePicLighter(1); }));
    Click("Command2", file);
    EXPECT_FALSE(Button("Command23")->isEnabled()) << "a new picture does not bring the button back";
    Click("Command1", file);
    Click("cmdAddGrid");
    Click("cmdAddGrid");
    EXPECT_EQ(Slot(0), Reference(0, [&](classUnitGAF& u) { u.LoadBMPPicture(file, 0), u.AddGrid(0), u.AddGrid(0); }));
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
    EXPECT_TRUE(window->isVisible() && !window->IsUnloaded() && Slot(1) == loaded);

    // Yes at the load's first yield: the window hides at once, and unloads only once the load
    // has finished with the picture set.
    bool loadDoneAtUnload = false, visibleAfterYes = true;
    QObject::connect(window.get(), &frmMain::unloaded, [&] { loadDoneAtUnload = Slot(0) == loaded; });
    prompts->MsgAnswers = {MsgAnswer::Yes};
    QTimer::singleShot(0, window.get(), [&] { window->close(), visibleAfterYes = window->isVisible(); });
    Click("Command1", file);
    EXPECT_FALSE(visibleAfterYes);
    EXPECT_TRUE(loadDoneAtUnload && window->IsUnloaded());
}
