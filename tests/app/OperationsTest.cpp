// The automatic generation, writing the GAF file, and the whole road against iconwright-cli.

#include <QProcess>

#include "WindowTestSupport.h"
#include "gaf/GafFile.h"

using namespace apptest;

namespace {
const std::string kDone = "Done! Go to the Operations menu and see how your menu looks and to save a .GAF";
}

TEST_F(WindowTest, WholeRoadWritesTheSameGafAsTheCommandLineTool) {
    const std::string picture = dir.file("armcamp.bmp"), windowGaf = dir.file("w.gaf"), cliGaf = dir.file("c.gaf");
    WritePatternBmp(picture, 96, 96, 41);
    Click("Command1", picture);
    Click("Command4");   // border
    Click("Command28");  // the other two from the file
    ShowPage(frmMain::kOperationsPage);
    prompts->InputAnswers = {"armcamp"};
    Click("Command26", windowGaf);
    EXPECT_EQ(dialog->ProposedNames.back(), "armcamp_GADGET.GAF");
    EXPECT_EQ(TakeMessages(), Strings{kDone});

    QProcess cli;
    cli.start(QStringLiteral(IW_CLI_PATH),
              {"--unit", "armcamp", "--load-bmp", "normal", QString::fromStdString(picture), "--border", "normal",
               "--auto", QString::fromStdString(picture), "--write-gaf", QString::fromStdString(cliGaf)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(testsupport::ReadBytes(windowGaf).size(), gaf::kGadgetFileSize);
    EXPECT_EQ(testsupport::ReadBytes(windowGaf), testsupport::ReadBytes(cliGaf));
}

// The generation reads again the file the dialog named last, as the kind it was last saved as: a
// saved BMP or PCX file with the border drawn on it. A PNG file and the GAF file it cannot read,
// and after a cancelled load it has no file: it fails at its first step and changes nothing.
TEST_F(WindowTest, GenerationReadsTheFileTheDialogNamedLast) {
    const std::string picture = dir.file("normal.bmp");
    WritePatternBmp(picture, 96, 96, 35);
    const auto save = [this](const char* file, int32_t filter) {
        return [=, this] { dialog->Choose(dir.file(file), filter), Click("Command17"); };
    };
    const auto writeGaf = [this] { prompts->InputAnswers = {"armcamp"}, Click("Command26", dir.file("a.GAF")); };
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"bmp", save("saved.bmp", 1)},
        {"pcx", save("saved.pcx", 2)},
        {"", save("saved.png", 3)},
        {"", writeGaf},
        {"", [this] { dialog->Cancel(), Click("Command1"); }}};
    for (const auto& [readBack, then] : rows) {
        OpenWindow();
        Click("Command1", picture);
        Click("Command4");
        then();
        Click("Command28");
        if (*readBack == 0) {
            EXPECT_EQ(TakeMessages(), Strings{"Error whilst processing task"});
            EXPECT_EQ(Progress(), 12);  // one step of eight, halves to even
            EXPECT_TRUE(Slot(1) == Reference(1) && Slot(2) == Reference(2)) << dialog->FileName;
            continue;
        }
        const auto bordered = [&](classUnitGAF& u, int k) {
            u.LoadBMPPicture(picture, k), u.AddCavedogLikeBorder(k, 1);
        };
        EXPECT_EQ(TakeMessages(), Strings{kDone});
        EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) { bordered(u, 1), u.MakePicLighter(1); })) << readBack;
        EXPECT_EQ(Slot(2), Reference(2, [&](classUnitGAF& u) { bordered(u, 2), u.MakePicGrey(2); })) << readBack;
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
    EXPECT_EQ(TakeMessages(), Strings{kDone});
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
}

// The unit name asked by Write the GAF file and by File > Export unit...: none is refused, a name
// of spaces is written, and a name the files cannot carry is refused with the reason before any
// file or folder dialog (none is scripted), keeping the status text and the name.
TEST_F(WindowTest, UnitNamesTheFilesCannotCarryAreRefusedBeforeAnyDialog) {
    const std::string spaces = dir.file("spaces.gaf");
    prompts->InputAnswers = {"   "};
    Click("Command26", spaces);
    EXPECT_EQ(dialog->ProposedNames.back(), "   _GADGET.GAF");
    const classUnitGAF& unit = window->UnitGAF();
    EXPECT_EQ(testsupport::ReadBytes(spaces),
              gaf::BuildGadgetFile("   ", {unit.ReducedFrame(0), unit.ReducedFrame(1), unit.ReducedFrame(2)}));

    const std::string noName = "You can't save without specifying your units UNITNAME | ",
                      noGaf = "The .GAF file could not be written. | The unit name has \"",
                      noFiles = "The unit's files could not be written. | The unit name ",
                      notStored =
                          "\", a character the game cannot store. Use only Western European letters, digits "
                          "and signs (Windows-1252).";
    const std::tuple<bool, std::string, std::string> rows[] = {
        {false, "", noName},
        {false, "Tank€éΩЖ", noGaf + "Ω" + notStored},
        {false, "ARM\t🙂x", noGaf + "🙂" + notStored},
        {true, "", noName},
        {true, "Tank€éΩ", noFiles + "has \"Ω" + notStored},
        {true, "arm/camp", noFiles + "holds a '/', which cannot be part of a file name."},
    };
    const QString status = window->MessagePanel()->text();
    for (const auto& [exportUnit, name, shown] : rows) {
        prompts->InputAnswers = {name};
        exportUnit ? Command("Export unit...")->trigger() : Click("Command26");
        EXPECT_EQ(TakeMessages(true), Strings{shown}) << name;
        EXPECT_EQ(window->MessagePanel()->text(), status) << name;
        EXPECT_TRUE(name.empty() || window->UnitGAF().Name() == name)
            << "the name is kept, as after a cancelled dialog";
    }
    EXPECT_EQ(FilesUnder(dir.path()).size(), 1u);
}
