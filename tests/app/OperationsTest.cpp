// The Operations page: the preview drawn on every visit, the status bar reset on every tab
// change, and writing the GAF file with its unit-name prompt.

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <filesystem>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "gaf/GafFile.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace apptest {
namespace {

using Operations = WindowTest;

TEST_F(Operations, PreviewRightAfterStartUpShowsThreeWhiteSquaresCentred) {
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(Message(), "Completed");
    EXPECT_EQ(Progress(), 100);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    const std::vector<uint32_t> white(64 * 64, 0xFFFFFFu);
    for (int i = 0; i < 3; ++i) {
        const QtPictureBox& box = *window->Picture1(i);
        // (81 - 64) / 2 = 8.5 and (73 - 64) / 2 = 4.5 both round to the even neighbour.
        EXPECT_EQ(CanvasSquare(box, 8, 4, 64), white) << i;
        const QRgb background = box.BackgroundColour().rgb() & 0xFFFFFFu;
        EXPECT_NE(background, 0xFFFFFFu);
        for (int y = 0; y < 73; ++y) {
            EXPECT_EQ(box.ReadColours({7, y, 1, 1})[0], background) << i << " left of the square, row " << y;
            EXPECT_EQ(box.ReadColours({72, y, 1, 1})[0], background) << i << " right of the square, row " << y;
        }
        EXPECT_EQ(box.ReadColours({8, 3, 1, 1})[0], background) << i;
        EXPECT_EQ(box.ReadColours({8, 68, 1, 1})[0], background) << i;
    }
}

TEST_F(Operations, PreviewShowsTheGafFramesAndReportsItsSteps) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 21);
    dialog->Choose(file);
    Click("Command1");
    Click("Command23");

    // Seen at the preview's one pause for pending events, before the first box is drawn.
    QString messageWhileBusy;
    int progressWhileBusy = -2;
    bool busyPointer = false;
    QTimer::singleShot(0, window.get(), [&] {
        messageWhileBusy = Message();
        progressWhileBusy = Progress();
        busyPointer = QGuiApplication::overrideCursor() != nullptr &&
                      QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(messageWhileBusy, "Making preview pictures...");
    EXPECT_EQ(progressWhileBusy, 0);
    EXPECT_TRUE(busyPointer);
    for (int i = 0; i < 3; ++i) {
        const std::array<uint8_t, 64 * 64> frame = window->UnitGAF().ReducedFrame(i);
        std::vector<uint32_t> expected;
        for (uint8_t index : frame) {
            const PaletteEntry& e = modPalettes::GamePalette[index];
            expected.push_back((uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue);
        }
        EXPECT_EQ(CanvasSquare(*window->Picture1(i), 8, 4, 64), expected) << i;
    }
    EXPECT_EQ(Progress(), 100);
}

TEST_F(Operations, EveryTabChangeResetsTheStatusBar) {
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    ASSERT_EQ(Progress(), 100);
    const std::vector<uint32_t> preview = CanvasSquare(*window->Picture1(0), 0, 0, 81);
    for (int page : {frmMain::kNormalPage, frmMain::kAboutPage, frmMain::kDisabledPage}) {
        window->SSTab1()->setCurrentIndex(page);
        EXPECT_EQ(Message(), "Ready") << page;
        EXPECT_EQ(Progress(), 0) << page;
    }
    EXPECT_EQ(CanvasSquare(*window->Picture1(0), 0, 0, 81), preview) << "other pages draw nothing";
}

TEST_F(Operations, UnitNameCancelledOrEmptyIsRefused) {
    prompts->InputAnswers = {"", ""};
    Click("Command26");
    Click("Command26");
    ASSERT_EQ(prompts->Inputs.size(), 2u);
    EXPECT_EQ(prompts->Inputs[0].Prompt, "Please enter the UNITNAME (ie, CORKROG, ARMCAMP, etc) of your unit");
    EXPECT_EQ(prompts->Inputs[0].Title, "Enter your unit name");
    EXPECT_EQ(prompts->Inputs[0].Default, "");
    ASSERT_EQ(prompts->Messages.size(), 2u);
    for (const ShownMessage& m : prompts->Messages) {
        EXPECT_EQ(m.Text, "You can't save without specifying your units UNITNAME");
        EXPECT_EQ(m.Title, "Iconwright");
        EXPECT_EQ(m.Icon, MsgIcon::None);
    }
    EXPECT_TRUE(dialog->Shown.empty());
    EXPECT_EQ(window->UnitGAF().Name(), "");
}

TEST_F(Operations, WritesTheGafWithTheProposedName) {
    const std::string gaf = dir.file("armcamp_GADGET.GAF");
    prompts->InputAnswers = {"armcamp"};
    dialog->Choose(gaf);
    bool busyBeforeSaving = false;
    QTimer::singleShot(0, window.get(), [&] {
        busyBeforeSaving = QGuiApplication::overrideCursor() != nullptr &&
                           QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    Click("Command26");
    EXPECT_TRUE(busyBeforeSaving);

    ASSERT_EQ(dialog->Shown.size(), 1u);
    EXPECT_EQ(dialog->Shown[0].Kind, CommonDialog::Kind::Save);
    EXPECT_EQ(dialog->Shown[0].Filter, "GAF files (*.gaf)|*.gaf");
    EXPECT_EQ(dialog->Shown[0].DefaultExt, "gaf");
    EXPECT_EQ(dialog->Shown[0].FileName, "armcamp_GADGET.GAF");
    EXPECT_EQ(window->UnitGAF().Name(), "armcamp");
    EXPECT_EQ(Message(), "Completed");
    EXPECT_LT(Progress(), 0) << "the write leaves the progress panel as it was";
    EXPECT_TRUE(prompts->Messages.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    const std::vector<uint8_t> bytes = testsupport::ReadBytes(gaf);
    ASSERT_EQ(bytes.size(), 12440u);
    const std::array<gaf::Frame, 3> frames = {window->UnitGAF().ReducedFrame(0), window->UnitGAF().ReducedFrame(1),
                                              window->UnitGAF().ReducedFrame(2)};
    EXPECT_EQ(bytes, gaf::BuildGadgetFile("ARMCAMP", frames));
}

TEST_F(Operations, NameOfSpacesIsAcceptedAsTyped) {
    prompts->InputAnswers = {"   "};
    dialog->Choose(dir.file("spaces.gaf"));
    Click("Command26");
    ASSERT_EQ(dialog->Shown.size(), 1u);
    EXPECT_EQ(dialog->Shown[0].FileName, "   _GADGET.GAF");
    EXPECT_EQ(window->UnitGAF().Name(), "   ");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "spaces.gaf"));
    EXPECT_EQ(Message(), "Completed");
}

TEST_F(Operations, CancelledSaveDialogKeepsTheNameAndWritesNothing) {
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    prompts->InputAnswers = {"CorKrog"};
    dialog->Cancel();
    Click("Command26");
    EXPECT_EQ(window->UnitGAF().Name(), "CorKrog");
    EXPECT_EQ(dialog->FileName, "CorKrog_GADGET.GAF");
    EXPECT_EQ(dialog->DefaultExt, "gaf");
    EXPECT_EQ(Message(), "Completed") << "left as the preview left it";
    EXPECT_EQ(Progress(), 100);
    EXPECT_TRUE(prompts->Messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(Operations, FailedWritesAreReportedAndWriteNothing) {
    // A name the GAF entry cannot store, and a folder that does not exist.
    const std::pair<std::string, std::string> cases[] = {{"Ω-tank", dir.file("omega.gaf")},
                                                         {"armcamp", dir.file("missing/armcamp.gaf")}};
    for (const auto& [name, file] : cases) {
        prompts->Messages.clear();
        prompts->InputAnswers = {name};
        dialog->Choose(file);
        Click("Command26");
        ASSERT_EQ(prompts->Messages.size(), 1u) << name;
        EXPECT_EQ(prompts->Messages[0].Text, "The .GAF file could not be written.");
        EXPECT_EQ(prompts->Messages[0].Title, "Iconwright");
        EXPECT_EQ(prompts->Messages[0].Icon, MsgIcon::Warning);
        EXPECT_EQ(Message(), "Ready") << name;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace apptest
