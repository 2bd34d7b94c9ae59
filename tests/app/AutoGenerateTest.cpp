// "Use this image as the basis for the other two": the other two pictures made from the file
// the dialog names, its progress steps, and its failure end.

#include <QTimer>

#include <filesystem>

#include "WindowTestSupport.h"

namespace apptest {
namespace {

using AutoGenerate = WindowTest;

// Slots 1 and 2 as the automatic generation makes them from file.
std::pair<Picture, Picture> Generated(const std::string& file, bool pcx = false) {
    auto load = [&](classUnitGAF& u, int k) { EXPECT_TRUE(pcx ? u.LoadPCXPicture(file, k) : u.LoadBMPPicture(file, k)); };
    return {Reference(1, [&](classUnitGAF& u) { load(u, 1); u.MakePicLighter(1); }),
            Reference(2, [&](classUnitGAF& u) { load(u, 2); u.MakePicGrey(2); })};
}

TEST_F(AutoGenerate, MakesTheOtherTwoFromTheFileNotFromSlotZero) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 31);
    ClickChoosing("Command1", file);
    Click("Command4");  // the border goes onto slot 0 only
    const Picture normal = Slot(0);

    QString messageAtFirstPause;
    bool busyAtFirstPause = false;
    QTimer::singleShot(0, window.get(), [&] {
        messageAtFirstPause = Message();
        busyAtFirstPause = BusyPointer();
    });
    QString messageWhileDone;
    int progressWhileDone = -1;
    prompts->OnMessage = [&] {
        messageWhileDone = Message();
        progressWhileDone = Progress();
    };
    Click("Command28");

    const auto [light, grey] = Generated(file);
    EXPECT_EQ(Slot(0), normal);
    EXPECT_EQ(Slot(1), light);
    EXPECT_EQ(Slot(2), grey);
    ExpectBoxShowsSlot(1);
    ExpectBoxShowsSlot(2);
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(Box(k)->HasBorder()) << k;
    EXPECT_EQ(messageAtFirstPause, "Loading pictures...");
    EXPECT_TRUE(busyAtFirstPause);
    EXPECT_EQ(messageWhileDone, "Completed");
    EXPECT_EQ(progressWhileDone, 100);
    ExpectOneMessage("Done! Go to the Operations menu and see how your menu looks and to save a .GAF", "Information",
                     MsgIcon::Information);
    EXPECT_EQ(Message(), "Ready");
    EXPECT_EQ(Progress(), 100);
    EXPECT_FALSE(BusyPointer());
    EXPECT_EQ(dialog->FileName, file) << "the dialog is left as it was";
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_TRUE(Button("Command23")->isEnabled()) << "enables or disables nothing";
}

TEST_F(AutoGenerate, ReaderIsChosenByTheDialogsExtension) {
    const std::string pcx = dir.file("normal.pcx");
    WritePatternPcx(pcx, 96, 96, 32);
    ClickChoosing("Command9", pcx);
    Click("Command28");
    EXPECT_EQ(std::make_pair(Slot(1), Slot(2)), Generated(pcx, true));

    // A BMP file chosen in the PCX dialog: the PCX reader refuses it again.
    const std::string bmp = dir.file("really-a-bmp.pcx");
    WritePatternBmp(bmp, 96, 96, 33);
    ClickChoosing("Command10", bmp);
    prompts->Messages.clear();
    Click("Command28");
    ExpectOneMessage("Error whilst processing task", "Iconwright", MsgIcon::None);
}

// After a cancelled load the dialog names no file; after the GAF write it names the GAF file
// with the extension "gaf", which selects the BMP reader. Either way the first load fails.
TEST_F(AutoGenerate, FailsAtTheFirstStepAfterACancelledLoadOrTheGafWrite) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 34);
    for (bool afterGaf : {false, true}) {
        SCOPED_TRACE(afterGaf ? "after the GAF write" : "after a cancelled load");
        ClickChoosing("Command1", file);
        if (afterGaf) {
            prompts->InputAnswers = {"armcamp"};
            ClickChoosing("Command26", dir.file("armcamp_GADGET.GAF"));
        } else {
            dialog->Cancel();
            Click("Command1");
        }
        ASSERT_TRUE(prompts->Messages.empty());
        Click("Command28");
        ExpectOneMessage("Error whilst processing task", "Iconwright", MsgIcon::None);
        EXPECT_EQ(Message(), "Loading pictures...");
        EXPECT_EQ(Progress(), 12);
        EXPECT_FALSE(BusyPointer());
        EXPECT_EQ(Slot(1), WhitePicture());
        EXPECT_EQ(Slot(2), WhitePicture());
        EXPECT_TRUE(Box(1)->HasBorder());
    }
}

TEST_F(AutoGenerate, AfterSavingSlotZeroItWorksFromTheSavedFile) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 35);
    ClickChoosing("Command1", file);
    Click("Command4");
    const std::string saved = dir.file("with-border.bmp");
    ClickChoosing("Command17", saved);
    Click("Command28");
    const auto generated = Generated(saved);
    EXPECT_EQ(std::make_pair(Slot(1), Slot(2)), generated);
    EXPECT_NE(generated.first, Generated(file).first) << "the border came along from the saved file";
}

TEST_F(AutoGenerate, SecondLoadFailingKeepsTheReloadedFirstSlot) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 36);
    ClickChoosing("Command1", file);
    // The file disappears at the second pause for pending events: the first is the command's
    // own, the second the first load's first yield, after that load has read the file.
    int pauses = 0;
    QTimer remover;
    QObject::connect(&remover, &QTimer::timeout, [&] {
        if (++pauses != 2) return;
        std::filesystem::remove(file);
        remover.stop();
    });
    remover.start(0);
    Click("Command28");
    ExpectOneMessage("Error whilst processing task", "Iconwright", MsgIcon::None);
    EXPECT_EQ(Progress(), 25);
    EXPECT_EQ(Message(), "Loading pictures...");
    EXPECT_EQ(Slot(1), Slot(0)) << "reloaded, not yet lightened";
    EXPECT_EQ(Slot(2), WhitePicture());
}

}  // namespace
}  // namespace apptest
