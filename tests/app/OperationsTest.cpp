// The automatic generation, writing the GAF file, and the whole road against iconwright-cli.

#include <QProcess>

#include "WindowTestSupport.h"
#include "gaf/GafFile.h"

using namespace apptest;

TEST_F(WindowTest, WholeRoadWritesTheSameGafAsTheCommandLineTool) {
    const std::string picture = dir.file("armcamp.bmp"), windowGaf = dir.file("w.gaf"), cliGaf = dir.file("c.gaf");
    WritePatternBmp(picture, 96, 96, 41);
    Click("Command1", picture);
    Click("Command4");   // border
    Click("Command28");  // the other two from the file
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    prompts->InputAnswers = {"armcamp"};
    Click("Command26", windowGaf);
    EXPECT_EQ(dialog->ProposedNames.back(), "armcamp_GADGET.GAF");
    EXPECT_EQ(TakeMessages(),
              Strings{"Done! Go to the Operations menu and see how your menu looks and to save a .GAF"});

    QProcess cli;
    cli.start(QStringLiteral(IW_CLI_PATH),
              {"--unit", "armcamp", "--load-bmp", "normal", QString::fromStdString(picture), "--border", "normal",
               "--auto", QString::fromStdString(picture), "--write-gaf", QString::fromStdString(cliGaf)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(testsupport::ReadBytes(windowGaf).size(), gaf::kGadgetFileSize);
    EXPECT_EQ(testsupport::ReadBytes(windowGaf), testsupport::ReadBytes(cliGaf));
}

// The generation reopens the file the dialog named last: after the GAF write that is the GAF
// file (extension "gaf", so read as a BMP), after a cancelled load no file at all.
TEST_F(WindowTest, GenerationFailsAtItsFirstStepAfterTheGafWriteOrACancelledLoad) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 34);
    for (bool afterGaf : {true, false}) {
        Click("Command1", file);
        if (afterGaf) {
            prompts->InputAnswers = {"armcamp"};
            Click("Command26", dir.file("armcamp_GADGET.GAF"));
        } else {
            dialog->Cancel();
            Click("Command1");
        }
        Click("Command28");
        EXPECT_EQ(TakeMessages(), Strings{"Error whilst processing task"}) << afterGaf;
        EXPECT_EQ(Progress(), 12) << afterGaf;
        EXPECT_EQ(Slot(1), Reference(1)) << afterGaf;
        EXPECT_EQ(Slot(2), Reference(2)) << afterGaf;
    }
}

// The generation's status bar step by step: every progress value with the message shown when it
// is set, texts typed here as the user reads them; then the one message box and "Ready".
TEST_F(WindowTest, GenerationReportsItsStagesInOrder) {
    const std::string file = dir.file("normal.bmp");
    WritePatternBmp(file, 96, 96, 36);
    Click("Command1", file);
    std::vector<std::pair<int, std::string>> steps;
    QObject::connect(window->ProgressPanel(), &QProgressBar::valueChanged,
                     [&](int value) { steps.emplace_back(value, window->MessagePanel()->text().toStdString()); });
    Click("Command28");
    const std::vector<std::pair<int, std::string>> expected = {
        {38, "Loading pictures..."},        {50, "Making highlighted picture..."}, {62, "Making disabled picture..."},
        {75, "Displaying new pictures..."}, {88, "Displaying new pictures..."},    {100, "Completed"}};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(TakeMessages(),
              Strings{"Done! Go to the Operations menu and see how your menu looks and to save a .GAF"});
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
}

TEST_F(WindowTest, GenerationAfterSavingSlotZeroWorksFromTheSavedFile) {
    const std::string file = dir.file("normal.bmp"), saved = dir.file("with-border.bmp");
    WritePatternBmp(file, 96, 96, 35);
    Click("Command1", file);
    Click("Command4");
    Click("Command17", saved);
    Click("Command28");
    // Read back from the saved file, the border comes along into the other two.
    const auto bordered = [&](classUnitGAF& u, int k) {
        EXPECT_TRUE(u.LoadBMPPicture(file, k));
        u.AddCavedogLikeBorder(k, 1);
    };
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) {
                  bordered(u, 1);
                  u.MakePicLighter(1);
              }));
    EXPECT_EQ(Slot(2), Reference(2, [&](classUnitGAF& u) {
                  bordered(u, 2);
                  u.MakePicGrey(2);
              }));
}

TEST_F(WindowTest, UnitNameCancelledMadeOfSpacesOrNotStorable) {
    prompts->InputAnswers = {""};
    Click("Command26");  // no file dialog may follow: none is scripted
    EXPECT_EQ(TakeMessages(), Strings{"You can't save without specifying your units UNITNAME"});

    const std::string spaces = dir.file("spaces.gaf");
    prompts->InputAnswers = {"   "};
    Click("Command26", spaces);
    EXPECT_EQ(dialog->ProposedNames.back(), "   _GADGET.GAF");
    const classUnitGAF& unit = window->UnitGAF();
    EXPECT_EQ(testsupport::ReadBytes(spaces),
              gaf::BuildGadgetFile("   ", {unit.ReducedFrame(0), unit.ReducedFrame(1), unit.ReducedFrame(2)}));

    // Refused right after the prompt: no file dialog is shown (none is scripted), and the
    // reason names the first character the game's code page lacks ("é" and "€" it has).
    const std::size_t dialogsShown = dialog->ProposedNames.size();
    const QString status = window->MessagePanel()->text();
    const std::pair<std::string, std::string> names[] = {{"Tank€éΩЖ", "Ω"}, {"ARM\t🙂x", "🙂"}};
    for (const auto& [name, character] : names) {
        prompts->InputAnswers = {name};
        Click("Command26");
        EXPECT_EQ(dialog->ProposedNames.size(), dialogsShown) << name;
        ASSERT_EQ(prompts->Messages.size(), 1u) << name;
        EXPECT_EQ(prompts->Messages[0].Text, "The .GAF file could not be written.");
        EXPECT_EQ(prompts->Messages[0].Informative,
                  "The unit name has \"" + character +
                      "\", a character the game cannot store. Use only Western European letters, digits and signs "
                      "(Windows-1252).");
        prompts->Messages.clear();
        EXPECT_EQ(window->MessagePanel()->text(), status) << name;
        EXPECT_EQ(window->UnitGAF().Name(), name) << "the name is kept, as after a cancelled dialog";
    }
}
