// "Use this image as the basis for the other two": the other two pictures made from the file
// the dialog names, its progress steps, and its failure end.

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <filesystem>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "picture/classUnitGAF.h"

namespace apptest {
namespace {

using AutoGenerate = WindowTest;

// Slots 1 and 2 as the automatic generation makes them from file.
std::pair<Picture, Picture> Generated(const std::string& file, bool pcx) {
    classUnitGAF reference;
    for (int k : {1, 2}) {
        EXPECT_TRUE(pcx ? reference.LoadPCXPicture(file, k) : reference.LoadBMPPicture(file, k));
    }
    reference.MakePicLighter(1);
    reference.MakePicGrey(2);
    return {*reference.Slot(1), *reference.Slot(2)};
}

TEST_F(AutoGenerate, MakesTheOtherTwoFromTheFileNotFromSlotZero) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 31);
    dialog->Choose(file);
    Click("Command1");
    Click("Command4");  // the border goes onto slot 0 only
    const Picture normal = Slot(0);

    QString messageAtFirstPause;
    bool busyAtFirstPause = false;
    QTimer::singleShot(0, window.get(), [&] {
        messageAtFirstPause = Message();
        busyAtFirstPause = QGuiApplication::overrideCursor() != nullptr &&
                           QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    QString messageWhileDone;
    int progressWhileDone = -1;
    prompts->OnMessage = [&](const ShownMessage&) {
        messageWhileDone = Message();
        progressWhileDone = Progress();
    };
    Click("Command28");

    const auto [light, grey] = Generated(file, false);
    EXPECT_EQ(Slot(0), normal);
    EXPECT_EQ(Slot(1), light);
    EXPECT_EQ(Slot(2), grey);
    EXPECT_EQ(CanvasSquare(*Box(1), 0, 0), ColoursOf(light));
    EXPECT_EQ(CanvasSquare(*Box(2), 0, 0), ColoursOf(grey));
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(Box(k)->HasBorder()) << k;

    EXPECT_EQ(messageAtFirstPause, "Loading pictures...");
    EXPECT_TRUE(busyAtFirstPause);
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text,
              "Done! Go to the Operations menu and see how your menu looks and to save a .GAF");
    EXPECT_EQ(prompts->Messages[0].Title, "Information");
    EXPECT_EQ(prompts->Messages[0].Icon, MsgIcon::Information);
    EXPECT_EQ(messageWhileDone, "Completed");
    EXPECT_EQ(progressWhileDone, 100);
    EXPECT_EQ(Message(), "Ready");
    EXPECT_EQ(Progress(), 100);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialog->FileName, file) << "the dialog is left as it was";
    EXPECT_EQ(window->SSTab1()->currentIndex(), frmMain::kAboutPage);
    EXPECT_TRUE(Button("Command23")->isEnabled()) << "enables or disables nothing";
}

TEST_F(AutoGenerate, ReadsAPcxFileWithThePcxReader) {
    const std::string file = dir.file("normal.pcx");
    WritePatternPcx(file, 96, 96, 32);
    dialog->Choose(file);
    Click("Command9");
    Click("Command28");
    const auto [light, grey] = Generated(file, true);
    EXPECT_EQ(Slot(1), light);
    EXPECT_EQ(Slot(2), grey);
}

TEST_F(AutoGenerate, ReaderIsChosenByTheDialogsExtensionNotByTheFileName) {
    // A BMP file chosen in the PCX dialog: the generation uses the PCX reader, which refuses it.
    const std::string file = dir.file("really-a-bmp.pcx");
    WritePatternBmp(file, 96, 96, 33);
    dialog->Choose(file);
    Click("Command10");  // refused: "The background image must be ..."
    prompts->Messages.clear();
    Click("Command28");
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "Error whilst processing task");
}

TEST_F(AutoGenerate, AfterACancelledLoadItFailsAtTheFirstStep) {
    dialog->Cancel();
    Click("Command1");
    Click("Command28");
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "Error whilst processing task");
    EXPECT_EQ(prompts->Messages[0].Title, "Iconwright");
    EXPECT_EQ(prompts->Messages[0].Icon, MsgIcon::None);
    EXPECT_EQ(Message(), "Loading pictures...");
    EXPECT_EQ(Progress(), 12);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Slot(1), WhitePicture());
    EXPECT_EQ(Slot(2), WhitePicture());
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(Box(k)->HasBorder()) << k;
}

TEST_F(AutoGenerate, AfterWritingTheGafItFailsAtTheFirstStep) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 34);
    dialog->Choose(file);
    Click("Command1");
    prompts->InputAnswers = {"armcamp"};
    dialog->Choose(dir.file("armcamp_GADGET.GAF"));
    Click("Command26");
    ASSERT_TRUE(prompts->Messages.empty());

    Click("Command28");
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "Error whilst processing task");
    EXPECT_EQ(Progress(), 12);
    EXPECT_EQ(Slot(1), WhitePicture());
}

TEST_F(AutoGenerate, AfterSavingSlotZeroItWorksFromTheSavedFile) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 35);
    dialog->Choose(file);
    Click("Command1");
    Click("Command4");
    const std::string saved = dir.file("with-border.bmp");
    dialog->Choose(saved);
    Click("Command17");
    Click("Command28");

    const auto [light, grey] = Generated(saved, false);
    EXPECT_EQ(Slot(1), light);
    EXPECT_EQ(Slot(2), grey);
    EXPECT_NE(light, Generated(file, false).first) << "the border came along from the saved file";
}

TEST_F(AutoGenerate, SecondLoadFailingKeepsTheReloadedFirstSlot) {
    // The file disappears while the first load yields: slot 1 holds the reloaded picture, not
    // yet lightened, and slot 2 is unchanged.
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 36);
    dialog->Choose(file);
    Click("Command1");
    const Picture loaded = Slot(0);
    // Pauses for pending events: the first is the command's own, before any load; the second
    // is the first load's first yield, after it has read the file.
    int pauses = 0;
    QTimer remover;
    QObject::connect(&remover, &QTimer::timeout, [&] {
        if (++pauses == 2) {
            std::filesystem::remove(file);
            remover.stop();
        }
    });
    remover.start(0);
    Click("Command28");
    ASSERT_EQ(prompts->Messages.size(), 1u);
    EXPECT_EQ(prompts->Messages[0].Text, "Error whilst processing task");
    EXPECT_EQ(Progress(), 25);
    EXPECT_EQ(Message(), "Loading pictures...");
    EXPECT_EQ(Slot(1), loaded);
    EXPECT_EQ(Slot(2), WhitePicture());
}

}  // namespace
}  // namespace apptest
