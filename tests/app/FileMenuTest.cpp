// The File menu's GAF commands on the real window: opening a GAF file in the viewer (from the
// menu and by a drop), the reasons for a refused file, and exporting the unit's two files into
// a mod's folder.

#include <QApplication>

#include "WindowTestSupport.h"
#include "app/GafViewer.h"
#include "picture/UnitExport.h"
#include "support/GafBuilder.h"

using namespace apptest;

namespace {

class FileMenuTest : public WindowTest {
protected:
    QList<GafViewer*> Viewers() const { return window->findChildren<GafViewer*>(); }
    void OpenGaf(const std::string& file) {
        dialog->Choose(file);
        Command("Open GAF...")->trigger();
        QApplication::processEvents();
    }
};

TEST_F(FileMenuTest, GafFilesOpenInViewersFromTheMenuAndByDropsAndLeaveTheGenerationItsPicture) {
    const std::string picture = dir.file("normal.bmp"), gadget = dir.file("armcamp.GAF");
    WritePatternBmp(picture, 96, 96, 52);
    testsupport::WriteBytes(gadget, gafbuild::Build({{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {7})}}}).Bytes);
    Click("Command1", picture);

    OpenGaf(gadget);
    EXPECT_EQ(dialog->ProposedNames.back(), "");
    ASSERT_EQ(Viewers().size(), 1);
    GafViewer* viewer = Viewers().front();
    EXPECT_TRUE(viewer->isVisible() && !viewer->isModal());
    EXPECT_EQ(viewer->Filename(), gadget);
    EXPECT_TRUE(TakeMessages().empty());
    // The dialog names the picture again: the generation still builds on it.
    EXPECT_EQ(dialog->FileName, picture);
    EXPECT_EQ(dialog->DefaultExt, "bmp");
    Click("Command28");
    EXPECT_EQ(Slot(2), Reference(2, [&](classUnitGAF& u) { u.LoadBMPPicture(picture, 2), u.MakePicGrey(2); }));

    // A closed viewer is gone; a cancelled dialog opens nothing.
    viewer->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Viewers().empty());
    dialog->Cancel();
    Command("Open GAF...")->trigger();
    EXPECT_TRUE(Viewers().empty());
    EXPECT_EQ(dialog->FileName, picture);

    // Dropped on a picture page, which imports pictures dropped on it, or on the About page, a
    // GAF file opens beside the others.
    const Picture before = Slot(1);
    EXPECT_TRUE(Drop(frmMain::kHighlightedPage, {Local(gadget)}));
    EXPECT_EQ(Slot(1), before);
    EXPECT_TRUE(Drop(frmMain::kAboutPage, {Local(gadget)}));
    ASSERT_EQ(Viewers().size(), 2);
    EXPECT_EQ(Viewers().back()->Filename(), gadget);
    EXPECT_TRUE(dialog->Answers.empty() && importOptions->Asked.empty());
}

TEST_F(FileMenuTest, RefusedFilesShowTheirReasonAndOpenNothing) {
    testsupport::WriteBytes(dir.file("bad.gaf"), {1, 2, 3, 4, 5});
    OpenGaf(dir.file("missing.gaf"));
    EXPECT_TRUE(Drop(frmMain::kNormalPage, {Local(dir.file("bad.gaf"))}));
    const std::string notOpened = "The .GAF file could not be opened. | ";
    EXPECT_EQ(TakeMessages(true),
              (Strings{notOpened + "The file cannot be opened.",
                       notOpened + "Not a GAF file: it starts with 0x04030201, not the version 0x00010100."}));
    EXPECT_TRUE(Viewers().empty());
}

TEST_F(FileMenuTest, ExportUnitWritesTheGafAndThePcxIntoTheModAndSaysWhere) {
    const std::string picture = dir.file("normal.bmp"), mod = dir.file("mymod");
    WritePatternBmp(picture, 96, 96, 54);
    Click("Command1", picture);
    Click("Command4");
    Click("Command28");
    ASSERT_EQ(TakeMessages().size(), 1u);  // the generation's "Done!"

    prompts->InputAnswers = {"armcamp"};
    dialog->Choose(mod);
    Command("Export unit...")->trigger();
    EXPECT_EQ(dialog->FolderTitles, Strings{"Choose the mod's folder (the files go into its anims and unitpics)"});
    EXPECT_EQ(TakeMessages(), Strings{"The unit's files were written:\n" + mod + "/anims/armcamp_GADGET.GAF\n" + mod +
                                      "/unitpics/ARMCAMP.PCX"});
    EXPECT_EQ(window->MessagePanel()->text(), "Completed");
    testsupport::TempDir reference;
    ASSERT_TRUE(::ExportUnit(window->UnitGAF(), reference.path().string()));
    EXPECT_EQ(FilesUnder(mod), FilesUnder(reference.path()));
    EXPECT_EQ(FilesUnder(mod).size(), 2u);

    // The next export opens where the last one went; a cancelled folder writes nothing; a
    // folder that cannot be made is named.
    prompts->InputAnswers = {"corkrog", "corkrog"};
    dialog->Cancel();
    Command("Export unit...")->trigger();
    EXPECT_EQ(dialog->StartFolders.back(), mod);
    EXPECT_TRUE(TakeMessages().empty());
    testsupport::WriteBytes(dir.file("taken"), {1});  // a file where the mod's folder should be
    dialog->Choose(dir.file("taken"));
    Command("Export unit...")->trigger();
    EXPECT_EQ(TakeMessages(true), Strings{"The unit's files could not be written. | The folder " + dir.file("taken") +
                                          "/anims cannot be made."});
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
    EXPECT_EQ(FilesUnder(mod).size(), 2u);
}

}  // namespace
