// The window's commands on the real buttons and menus: the whole road against iconwright-cli,
// every command once against the picture set driven directly, and the history walked back and
// forth.

#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QUndoStack>

#include <array>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "app/GafViewer.h"
#include "gaf/GafFile.h"
#include "imagefiles/modBmp.h"
#include "picture/UnitExport.h"
#include "support/PcxBuilder.h"

using namespace apptest;

using Slots = std::array<Picture, 3>;

TEST_F(WindowTest, WholeRoadWritesTheSameGafAsTheCommandLineTool) {
    const std::string picture = dir.file("armcamp.bmp"), windowGaf = dir.file("w.gaf"), cliGaf = dir.file("c.gaf");
    WritePatternBmp(picture, 96, 96, 41);
    Click("Command1", picture);
    Click("Command4");  // border
    // The generation's status bar step by step: each progress value with the message shown when
    // it is set, then "Ready" once its message box is answered.
    std::vector<std::pair<int, std::string>> steps;
    QObject::connect(window->ProgressPanel(), &QProgressBar::valueChanged,
                     [&](int value) { steps.emplace_back(value, window->MessagePanel()->text().toStdString()); });
    Click("Command28");  // the other two from the file
    const std::vector<std::pair<int, std::string>> expected = {
        {38, "Loading pictures..."},        {50, "Making highlighted picture..."}, {62, "Making disabled picture..."},
        {75, "Displaying new pictures..."}, {88, "Displaying new pictures..."},    {100, "Completed"}};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
    EXPECT_EQ(TakeMessages(), Strings{AppTexts::kDone});
    ShowPage(frmMain::kOperationsPage);
    prompts->InputAnswers = {"armcamp"};
    Click("Command26", windowGaf);
    EXPECT_EQ(dialog->ProposedNames.back(), "armcamp_GADGET.GAF");
    EXPECT_EQ(TakeMessages(), Strings{});  // a written file needs no message

    QProcess cli;
    cli.start(QStringLiteral(IW_CLI_PATH),
              {"--unit", "armcamp", "--load-bmp", "normal", QString::fromStdString(picture), "--border", "normal",
               "--auto", QString::fromStdString(picture), "--write-gaf", QString::fromStdString(cliGaf)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(testsupport::ReadBytes(windowGaf).size(), gaf::kGadgetFileSize);
    EXPECT_EQ(testsupport::ReadBytes(windowGaf), testsupport::ReadBytes(cliGaf));
}

// Every command that changes a slot, clicked in turn, does its operation on its own page's slot
// and is one step of the history: undone and redone with the keys, each step gives back the
// slots, turns to the page it was made on, and redraws the boxes and previews it changed.
TEST_F(WindowTest, EachSlotCommandIsItsOperationAndOneStepBackAndForth) {
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp"), c = dir.file("c.pcx"), photo = dir.file("p.png");
    WritePatternBmp(a, 96, 96, 21);
    WritePatternBmp(b, 96, 96, 22);
    std::vector<uint8_t> pixels(96 * 96);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 5 / 96);
    testsupport::WriteBytes(c, pcxbuild::Build({.Packets = pcxbuild::Encode(pixels, 96)}));
    WritePatternPng(photo, 50, 30, 5);
    using U = classUnitGAF&;
    const std::string load = "Load BMP", pcx = "Load PCX", border = "Add a Cavedog style border",
                      grid = "Add a grid (for disabled picture)", cross = "Add a black cross";
    const struct {
        const char* Button;  // or the menu command
        std::string File, Answer, Name;
        int Page;
        std::function<void(U)> Mirror;
    } steps[] = {{"Command9", c, "", pcx, 0, [&](U u) { u.LoadPCXPicture(c, 0); }},
                 {"Command1", a, "", load, 0, [&](U u) { u.LoadBMPPicture(a, 0); }},
                 {"Command4", "", "", border, 0, [](U u) { u.AddCavedogLikeBorder(0, 1); }},
                 {"Command20", "", "3", cross, 0, [](U u) { u.AddBlackCross(0, 3); }},
                 {"cmdAddGrid", "", "", grid, 0, [](U u) { u.AddGrid(0); }},
                 {"Command10", c, "", pcx, 1, [&](U u) { u.LoadPCXPicture(c, 1); }},
                 {"Command2", b, "", load, 1, [&](U u) { u.LoadBMPPicture(b, 1); }},
                 {"Command31", "", "", border, 1, [](U u) { u.AddCavedogLikeBorder(1, 1); }},
                 {"Command30", "", "2.5", cross, 1, [](U u) { u.AddBlackCross(1, 2); }},  // halves to even
                 {"Command5", "", "", grid, 1, [](U u) { u.AddGrid(1); }},
                 {"Command23", "", "", "Make \"light\" (for highlighted picture)", 1, [](U u) { u.MakePicLighter(1); }},
                 {"Command28", "", "", "Use this image as the basis for the other two", 1,  // from the normal's a
                  [&](U u) { u.LoadBMPPicture(a, 1), u.LoadBMPPicture(a, 2), u.MakePicLighter(1), u.MakePicGrey(2); }},
                 {"Command3", a, "", load, 2, [&](U u) { u.LoadBMPPicture(a, 2); }},
                 {"Command11", c, "", pcx, 2, [&](U u) { u.LoadPCXPicture(c, 2); }},
                 {"Command32", "", "", border, 2, [](U u) { u.AddCavedogLikeBorder(2, 1); }},
                 {"Command33", "", "4", cross, 2, [](U u) { u.AddBlackCross(2, 4); }},
                 {"Command34", "", "", "Make \"grey\" (for disabled picture)", 2, [](U u) { u.MakePicGrey(2); }},
                 {"Command6", "", "", grid, 2, [](U u) { u.AddGrid(2); }},
                 {"Import picture...", photo, "", "Import picture", 2,
                  [&](U u) { u.ImportPicture(photo, 2, import::ImportSettings{}); }}};
    const auto current = [&] { return Slots{Slot(0), Slot(1), Slot(2)}; };
    classUnitGAF mirror;
    std::vector<Slots> states{current()};
    for (const auto& step : steps) {
        ShowPage(step.Page);
        if (!step.File.empty()) dialog->Choose(step.File);
        if (!step.Answer.empty()) prompts->InputAnswers = {step.Answer};
        if (step.Name == "Import picture") importOptions->Ok({});
        step.Name == "Import picture" ? Command(step.Button)->trigger() : Click(step.Button);
        step.Mirror(mirror);
        EXPECT_EQ(current(), (Slots{*mirror.Slot(0), *mirror.Slot(1), *mirror.Slot(2)})) << step.Button;
        EXPECT_NE(current(), states.back()) << step.Button;
        states.push_back(current());
        EXPECT_EQ(Caption(Command("Undo")), "Undo " + step.Name);
    }
    EXPECT_EQ(TakeMessages(), Strings{AppTexts::kDone});
    ASSERT_EQ(window->UndoStack()->count(), static_cast<int>(std::size(steps)));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto expectShown = [&](std::size_t i, bool undone) {
        const std::string what = (undone ? "undo " : "redo ") + std::string(steps[i].Button);
        EXPECT_EQ(current(), states[undone ? i : i + 1]) << what;
        EXPECT_EQ(Page(), steps[i].Page) << what;
        for (int k = 0; k < 3; ++k) {
            if (states[i][std::size_t(k)] == states[i + 1][std::size_t(k)]) continue;
            EXPECT_EQ(Box(k)->ReadColours({0, 0, 96, 96}), ColoursOf(Slot(k))) << what << " slot " << k;
            EXPECT_EQ(window->Picture1(k)->ReadColours({8, 4, 64, 64}), ColoursOf(window->UnitGAF().ReducedFrame(k)))
                << what << " slot " << k;
        }
    };
    for (std::size_t i = std::size(steps); i-- > 0;) {
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        expectShown(i, true);
    }
    EXPECT_FALSE(Command("Undo")->isEnabled());
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Qt::KeyboardModifiers redo = i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
        QTest::keyClick(window.get(), i % 2 ? Qt::Key_Y : Qt::Key_Z, redo);
        expectShown(i, false);
    }
    EXPECT_FALSE(Command("Redo")->isEnabled());
}

// The commands that change no slot, each once, with its effect.
TEST_F(WindowTest, EachOtherCommandDoesItsOwnJob) {
    const std::string picture = dir.file("n.bmp"), mod = dir.file("mod");
    WritePatternBmp(picture, 96, 96, 5);
    Click("Command1", picture);
    Click("Command31");
    Click("Command32");
    const auto saved = [&](const char* button, int slot) {
        Click(button, dir.file(button));
        return testsupport::ReadBytes(dir.file(button)) ==
               modBmp::EncodeBmp(Slot(slot), modPalettes::GamePalette, 96, 96);
    };
    EXPECT_TRUE(saved("Command17", 0) && saved("Command18", 1) && saved("Command19", 2));
    const classUnitGAF& unit = window->UnitGAF();
    prompts->InputAnswers = {"armcamp"};
    dialog->Choose(mod);
    Command("Export unit...")->trigger();
    testsupport::TempDir reference;
    ASSERT_TRUE(::ExportUnit(unit, reference.path().string()));
    EXPECT_EQ(FilesUnder(mod), FilesUnder(reference.path()));
    const std::string gadget = mod + "/anims/armcamp_GADGET.GAF";
    dialog->Choose(gadget);
    Command("Open GAF...")->trigger();
    EXPECT_EQ(window->findChild<GafViewer*>()->Filename(), gadget);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (int page : {2, 0, 3, 1, 4}) {  // Ctrl+1 to Ctrl+5 turn to the pages in their order
        QTest::keyClick(window.get(), static_cast<Qt::Key>(Qt::Key_1 + page), Qt::ControlModifier);
        EXPECT_EQ(Page(), page);
    }
    ShowPage(frmMain::kNormalPage);
    Command("About")->trigger();
    EXPECT_EQ(Page(), frmMain::kAboutPage);
    prompts->MsgAnswers = {MsgAnswer::Yes};
    Command("Exit")->trigger();
    EXPECT_TRUE(window->IsUnloaded());
}
