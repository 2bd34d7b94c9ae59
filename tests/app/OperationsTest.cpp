// The Operations page: the preview drawn on every visit, the status bar reset on every tab
// change, writing the GAF file with its unit-name prompt, and the whole road of a typical
// piece of work against the same steps done by iconwright-cli.

#include <QProcess>
#include <QTimer>

#include <filesystem>

#include "WindowTestSupport.h"
#include "gaf/GafFile.h"

namespace apptest {
namespace {

using Operations = WindowTest;

TEST_F(Operations, PreviewRightAfterStartUpShowsThreeWhiteSquaresCentred) {
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(Message(), "Completed");
    EXPECT_EQ(Progress(), 100);
    EXPECT_FALSE(BusyPointer());
    for (int i = 0; i < 3; ++i) {
        const QtPictureBox& box = *window->Picture1(i);
        // (81 - 64) / 2 = 8.5 and (73 - 64) / 2 = 4.5 both round to the even neighbour; the
        // rest of the box keeps its background.
        std::vector<uint32_t> expected(81 * 73, box.BackgroundColour().rgb() & 0xFFFFFFu);
        for (int y = 4; y < 68; ++y) std::fill_n(expected.begin() + y * 81 + 8, 64, 0xFFFFFFu);
        EXPECT_EQ(box.ReadColours({0, 0, 81, 73}), expected) << i;
    }
}

TEST_F(Operations, PreviewShowsTheGafFramesAndEveryTabChangeResetsTheStatusBar) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 21);
    ClickChoosing("Command1", file);
    Click("Command23");

    // Seen at the preview's one pause for pending events, before the first box is drawn.
    QString messageWhileBusy;
    int progressWhileBusy = -2;
    bool busyPointer = false;
    QTimer::singleShot(0, window.get(), [&] {
        messageWhileBusy = Message();
        progressWhileBusy = Progress();
        busyPointer = BusyPointer();
    });
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(messageWhileBusy, "Making preview pictures...");
    EXPECT_EQ(progressWhileBusy, 0);
    EXPECT_TRUE(busyPointer);
    for (int i = 0; i < 3; ++i) {
        const auto frame = window->UnitGAF().ReducedFrame(i);
        EXPECT_EQ(CanvasSquare(*window->Picture1(i), 8, 4, 64), ColoursOf(frame.data(), frame.size())) << i;
    }
    EXPECT_EQ(Progress(), 100);

    const std::vector<uint32_t> preview = CanvasSquare(*window->Picture1(0), 0, 0, 81);
    for (int page : {frmMain::kNormalPage, frmMain::kAboutPage, frmMain::kDisabledPage}) {
        window->SSTab1()->setCurrentIndex(page);
        EXPECT_EQ(Message(), "Ready") << page;
        EXPECT_EQ(Progress(), 0) << page;
    }
    EXPECT_EQ(CanvasSquare(*window->Picture1(0), 0, 0, 81), preview) << "other pages draw nothing";
}

TEST_F(Operations, UnitNameCancelledOrEmptyIsRefused) {
    prompts->InputAnswers = {""};
    Click("Command26");
    ASSERT_EQ(prompts->Inputs.size(), 1u);
    EXPECT_EQ(prompts->Inputs[0].Prompt, "Please enter the UNITNAME (ie, CORKROG, ARMCAMP, etc) of your unit");
    EXPECT_EQ(prompts->Inputs[0].Title, "Enter your unit name");
    EXPECT_EQ(prompts->Inputs[0].Default, "");
    ExpectOneMessage("You can't save without specifying your units UNITNAME", "Iconwright", MsgIcon::None);
    EXPECT_TRUE(dialog->Shown.empty());
    EXPECT_EQ(window->UnitGAF().Name(), "");
}

TEST_F(Operations, WritesTheGafWithTheNameAsTyped) {
    // armcamp proposes armcamp_GADGET.GAF and writes the entry name ARMCAMP; a name of spaces
    // is accepted as it is.
    const std::pair<std::string, std::string> names[] = {{"armcamp", "ARMCAMP"}, {"   ", "   "}};
    for (const auto& [name, entry] : names) {
        SCOPED_TRACE('"' + name + '"');
        const std::string gaf = dir.file(entry + ".gaf");
        prompts->InputAnswers = {name};
        bool busyBeforeSaving = false;
        QTimer::singleShot(0, window.get(), [&] { busyBeforeSaving = BusyPointer(); });
        ClickChoosing("Command26", gaf);
        EXPECT_TRUE(busyBeforeSaving);

        const ShownDialog& shown = dialog->Shown.back();
        EXPECT_EQ(shown.Kind, CommonDialog::Kind::Save);
        EXPECT_EQ(shown.Filter, "GAF files (*.gaf)|*.gaf");
        EXPECT_EQ(shown.DefaultExt, "gaf");
        EXPECT_EQ(shown.FileName, name + "_GADGET.GAF");
        EXPECT_EQ(window->UnitGAF().Name(), name);
        EXPECT_EQ(Message(), "Completed");
        EXPECT_LT(Progress(), 0) << "the write leaves the progress panel as it was";
        EXPECT_TRUE(prompts->Messages.empty());
        EXPECT_FALSE(BusyPointer());
        const auto& unit = window->UnitGAF();
        EXPECT_EQ(testsupport::ReadBytes(gaf),
                  gaf::BuildGadgetFile(entry, {unit.ReducedFrame(0), unit.ReducedFrame(1), unit.ReducedFrame(2)}));
    }
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
        SCOPED_TRACE(name);
        prompts->InputAnswers = {name};
        ClickChoosing("Command26", file);
        ExpectOneMessage("The .GAF file could not be written.", "Iconwright", MsgIcon::Warning);
        EXPECT_EQ(Message(), "Ready");
        EXPECT_FALSE(BusyPointer());
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(Operations, WholeRoadWritesTheSameGafAsTheCommandLineTool) {
    const std::string picture = dir.file("armcamp.bmp");
    WritePatternBmp(picture, 96, 96, 41);
    const std::string windowGaf = dir.file("window_GADGET.GAF");
    const std::string cliGaf = dir.file("cli_GADGET.GAF");

    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    ClickChoosing("Command1", picture);  // Load BMP into the normal picture
    Click("Command4");                   // Cavedog style border
    Click("Command28");                  // highlighted and disabled from the file
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(Progress(), 100);
    prompts->InputAnswers = {"armcamp"};
    ClickChoosing("Command26", windowGaf);
    EXPECT_EQ(Message(), "Completed");
    EXPECT_EQ(MessageTexts().size(), 1u) << "only the generation's Done message";

    QProcess cli;
    cli.start(QStringLiteral(IW_CLI_PATH),
              {"--unit", "armcamp", "--load-bmp", "normal", QString::fromStdString(picture), "--border", "normal",
               "--auto", QString::fromStdString(picture), "--write-gaf", QString::fromStdString(cliGaf)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const std::vector<uint8_t> fromWindow = testsupport::ReadBytes(windowGaf);
    EXPECT_EQ(fromWindow.size(), gaf::kGadgetFileSize);
    EXPECT_EQ(fromWindow, testsupport::ReadBytes(cliGaf));
}

}  // namespace
}  // namespace apptest
