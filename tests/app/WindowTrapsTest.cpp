// The window's traps, each walked with clicks: the basis button works from the normal picture's
// own file, Make "light" and Make "grey" once per picture, the unit-name rule, the status after a
// write and the question at quit only when something is unsaved.

#include <QProgressBar>
#include <QStatusBar>
#include <QUndoStack>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "gaf/GafFile.h"
#include "imagefiles/PngWriter.h"
#include "picture/AutoGeneration.h"

using namespace apptest;

// Imports on two pages, a save as PNG and a failed load: the button makes the other two from the
// file the normal picture itself came from, or says why not and leaves the status bar idle.
TEST_F(WindowTest, TheBasisButtonWorksFromTheNormalPicturesOwnFile) {
    const std::string shape = dir.file("shape.png"), small = dir.file("small.bmp"), saved = dir.file("n.png");
    WritePatternPng(shape, 40, 30, 0);
    WritePatternBmp(small, 96, 96, 7);
    WritePatternBmp(dir.file("narrow.bmp"), 95, 96, 4);
    ImportChoices stretch;
    stretch.Settings.Fit = import::FitMode::Stretch;
    ShowPage(frmMain::kNormalPage);
    dialog->Choose(shape), importOptions->Ok(stretch), Command("Import picture...")->trigger();
    ShowPage(frmMain::kDisabledPage);
    Click("Command3", small);
    ShowPage(frmMain::kNormalPage);
    const auto generatedFrom = [&](const SlotSource& basis) {
        classUnitGAF expected;
        EXPECT_EQ(GenerateHighlightedAndDisabled(expected, basis), AutoGenerationResult::Done);
        return std::pair(*expected.Slot(1), *expected.Slot(2));
    };
    Click("Command28");
    EXPECT_EQ(std::pair(Slot(1), Slot(2)),
              generatedFrom(SlotSource::FromFile(shape, PictureFileKind::Imported, stretch.Settings)));
    EXPECT_EQ(Box(1)->toolTip(), "(made by automatic generation)");

    // Saved as PNG, the normal picture comes back from that file; a failed load changes nothing.
    Click("Command4");
    dialog->Choose(saved, 3);  // the PNG filter
    Click("Command17");
    EXPECT_EQ(testsupport::ReadBytes(saved), modPNG::EncodePng(Slot(0), modPalettes::GamePalette, 96, 96));
    Click("Command1", dir.file("narrow.bmp"));
    Click("Command28");
    EXPECT_EQ(std::pair(Slot(1), Slot(2)), generatedFrom(SlotSource::FromFile(saved, PictureFileKind::Imported)));
    EXPECT_EQ(TakeMessages(), (Strings{AppTexts::kDone, AppTexts::kBadPicture, AppTexts::kDone}));

    // A normal picture that came from no file: the reason, and an idle status bar once the
    // message is answered (its file gone: MessagesTest).
    OpenWindow();
    Click("Command28");
    EXPECT_EQ(prompts->Messages.at(0).Informative,
              "The normal picture was not loaded from a file: load or import it first.");
    EXPECT_EQ(TakeMessages(), Strings{AppTexts::kTaskFailed});
    EXPECT_EQ(window->UndoStack()->count(), 0);
    EXPECT_EQ(std::pair(window->MessagePanel()->text(), window->ProgressPanel()->value()),
              std::pair(QString("Ready"), 0));
}

// Once per picture: used, the button greys out; undo brings it back, redo takes it away again; a
// new picture loaded, imported or generated into the slot brings it back.
TEST_F(WindowTest, LightAndGreyOncePerPictureFollowingUndoAndNewPictures) {
    const std::string a = dir.file("a.bmp"), photo = dir.file("p.png");
    WritePatternBmp(a, 96, 96, 3);
    WritePatternPng(photo, 40, 30, 0);
    QAbstractButton* light = Button("Command23");
    QAbstractButton* grey = Button("Command34");
    ShowPage(frmMain::kHighlightedPage);
    Click("Command2", a);
    Click("Command23");
    EXPECT_FALSE(light->isEnabled());
    window->UndoStack()->undo();
    EXPECT_TRUE(light->isEnabled());
    window->UndoStack()->redo();
    EXPECT_FALSE(light->isEnabled());
    Click("Command2", a);
    EXPECT_TRUE(light->isEnabled());

    ShowPage(frmMain::kDisabledPage);
    Click("Command34");
    EXPECT_FALSE(grey->isEnabled());
    importOptions->Ok({}), dialog->Choose(photo), Command("Import picture...")->trigger();
    EXPECT_TRUE(grey->isEnabled());
    Click("Command34");
    ShowPage(frmMain::kNormalPage);
    Click("Command1", a);
    Click("Command28");
    EXPECT_TRUE(light->isEnabled() && grey->isEnabled());
    window->UndoStack()->undo();
    EXPECT_TRUE(light->isEnabled());
    EXPECT_FALSE(grey->isEnabled());
}

// A command that changes nothing is no step; undo gives back the older file's name with its
// picture.
TEST_F(WindowTest, AStepOnlyForAChangeAndUndoNamesTheOlderFile) {
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    WritePatternBmp(a, 96, 96, 1);
    WritePatternBmp(b, 96, 96, 2);
    ShowPage(frmMain::kNormalPage);
    Click("Command1", a);
    Click("Command1", a);
    EXPECT_EQ(window->UndoStack()->count(), 1);
    Click("Command1", b);
    EXPECT_EQ(Box(0)->toolTip().toStdString(), b);
    window->UndoStack()->undo();
    EXPECT_EQ(Box(0)->toolTip().toStdString(), a);
    EXPECT_EQ(window->Picture1(0)->toolTip().toStdString(), a);
    EXPECT_EQ(*window->UnitGAF().Source(0), SlotSource::FromFile(a, PictureFileKind::Bmp));
}

// A name of 32 characters is cut in the entry, after a warning that can be cancelled; a name
// with '/' is refused before any dialog. A write that went through says so in the status bar
// and makes quitting safe.
TEST_F(WindowTest, UnitNamesAreCheckedAndAWriteIsConfirmedAndMakesQuitSafe) {
    const std::string longName = "abcdefghijklmnopqrstuvwxyz012345", gaf = dir.file("long.gaf");
    const std::string warning =
        "The entry inside the file will be named ABCDEFGHIJKLMNOPQRSTUVWXYZ01234: the game reads 31 characters.";
    ShowPage(frmMain::kOperationsPage);
    prompts->InputAnswers = {"arm/camp"};
    Click("Command26");
    prompts->InputAnswers = {longName};
    prompts->MsgAnswers = {MsgAnswer::Cancel};
    Click("Command26");
    EXPECT_TRUE(dialog->ProposedNames.empty());
    EXPECT_EQ(TakeMessages(), (Strings{"The .GAF file could not be written.", warning}));

    prompts->InputAnswers = {longName};
    prompts->MsgAnswers = {MsgAnswer::OK};
    Click("Command26", gaf);
    EXPECT_EQ(dialog->ProposedNames, Strings{longName + "_GADGET.GAF"});
    EXPECT_EQ(TakeMessages(), Strings{warning});
    const Bytes bytes = testsupport::ReadBytes(gaf);
    ASSERT_EQ(bytes.size(), gaf::kGadgetFileSize);
    EXPECT_EQ(std::string(bytes.begin() + 0x18, bytes.begin() + 0x38),
              std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234") + '\0');
    EXPECT_EQ(window->StatusBar()->currentMessage(), "Wrote long.gaf");
    EXPECT_EQ(window->MessagePanel()->text(), "Completed");
}

// The question comes only with unsaved work: not at start, not right after the GAF is written
// (nor after undo comes back there), but after any change since.
TEST_F(WindowTest, QuitAsksOnlyWhenSomethingIsUnsaved) {
    const std::string a = dir.file("a.bmp");
    WritePatternBmp(a, 96, 96, 1);
    ASSERT_TRUE(window->close());
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_EQ(TakeMessages(), Strings{});

    OpenWindow();
    ShowPage(frmMain::kNormalPage);
    Click("Command1", a);
    prompts->MsgAnswers = {MsgAnswer::No};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(TakeMessages(), Strings{"Are you sure you want to quit (unsaved changes will be lost)"});
    prompts->InputAnswers = {"armcamp"};
    Click("Command26", dir.file("a.gaf"));
    Click("Command4");
    window->UndoStack()->undo();  // back to what the GAF file holds
    ASSERT_TRUE(window->close());
    EXPECT_EQ(TakeMessages(), Strings{});
}
